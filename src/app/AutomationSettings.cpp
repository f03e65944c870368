#include "app/AutomationSettings.h"

#include <sstream>
#include <string>

#include "platform/AtomicFile.h"
#include "service/ControlSocketPath.h"

namespace mav {
namespace {

constexpr std::size_t kFileLimit = 16 * 1024;

}  // namespace

AutomationSettings read_automation_settings(const std::filesystem::path& file) {
  AutomationSettings settings{false, default_control_socket()};
  const auto bytes = read_whole_file(file, kFileLimit);
  if (!bytes) return settings;
  std::istringstream lines(std::string(bytes->begin(), bytes->end()));
  for (std::string line; std::getline(lines, line);) {
    const auto equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = line.substr(0, equals);
    const std::string value = line.substr(equals + 1);
    if (key == "serve") settings.serve = value == "1";
    if (key == "socket" && !value.empty()) settings.socket = value;
  }
  return settings;
}

bool write_automation_settings(const std::filesystem::path& file,
                               const AutomationSettings& settings) {
  const std::string text = std::string("serve=") + (settings.serve ? "1" : "0") +
                           "\nsocket=" + settings.socket.string() + "\n";
  const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
  return write_file_atomically(file, {data, text.size()}, 0600);
}

}  // namespace mav
