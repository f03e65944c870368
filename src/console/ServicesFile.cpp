#include "console/ServicesFile.h"

#include <sstream>

#include "platform/AtomicFile.h"

namespace mav {
namespace {

constexpr std::size_t kFileLimit = 64 * 1024;

// Tabs and line ends would split a field.
std::string field(std::string text) {
  std::erase_if(text, [](char c) { return c == '\t' || c == '\n' || c == '\r'; });
  return text;
}

}  // namespace

std::vector<ServiceEntry> read_services_file(const std::filesystem::path& file) {
  std::vector<ServiceEntry> entries;
  const auto bytes = read_whole_file(file, kFileLimit);
  if (!bytes) return entries;
  std::istringstream lines(std::string(bytes->begin(), bytes->end()));
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    ServiceEntry entry;
    std::getline(fields, entry.name, '\t');
    std::getline(fields, entry.address, '\t');
    std::getline(fields, entry.token, '\t');
    if (!entry.address.empty()) entries.push_back(entry);
  }
  return entries;
}

bool remember_service(const std::filesystem::path& file, const ServiceEntry& entry) {
  std::vector<ServiceEntry> entries = read_services_file(file);
  std::erase_if(entries, [&](const ServiceEntry& old) { return old.address == entry.address; });
  entries.insert(entries.begin(), entry);
  std::string text;
  for (const ServiceEntry& each : entries) {
    text += field(each.name) + '\t' + field(each.address) + '\t' + field(each.token) + '\n';
  }
  const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
  return write_file_atomically(file, {data, text.size()}, 0600);
}

}  // namespace mav
