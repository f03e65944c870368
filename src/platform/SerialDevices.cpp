#include "platform/SerialDevices.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <system_error>

namespace mav {
namespace {

constexpr std::string_view kPortPrefixes[] = {"ttyS", "ttyUSB", "ttyACM"};

bool is_port_name(const std::string& name) {
  return std::any_of(std::begin(kPortPrefixes), std::end(kPortPrefixes),
                     [&](std::string_view prefix) {
                       return name.size() > prefix.size() && name.starts_with(prefix);
                     });
}

bool account_in_group(gid_t group) {
  if (getegid() == group) return true;
  const int count = getgroups(0, nullptr);
  if (count <= 0) return false;
  std::vector<gid_t> groups(static_cast<std::size_t>(count));
  groups.resize(static_cast<std::size_t>(std::max(getgroups(count, groups.data()), 0)));
  return std::find(groups.begin(), groups.end(), group) != groups.end();
}

}  // namespace

std::vector<std::string> serial_devices_in(const std::filesystem::path& devices) {
  std::vector<std::string> found;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(devices, error)) {
    if (is_port_name(entry.path().filename().string())) found.push_back(entry.path().string());
  }
  for (const auto& entry :
       std::filesystem::directory_iterator(devices / "serial" / "by-id", error)) {
    found.push_back(entry.path().string());
  }
  std::sort(found.begin(), found.end());
  return found;
}

std::string serial_open_failure(const std::string& device, int error) {
  // A first start offers the stored default "COM1", which names no device here; the system's
  // "no such file" would not tell the operator what to choose instead.
  if (error == ENOENT && device.find('/') == std::string::npos) {
    if (serial_devices_in("/dev").empty()) {
      return "This computer has no serial port: connect a serial adapter, or choose a network "
             "site.";
    }
    return device + " is not a serial port of this computer: choose one under (Other).";
  }
  std::string text = device + ": " + std::system_category().message(error) + ".";
  struct stat status {};
  if ((error != EACCES && error != EPERM) || stat(device.c_str(), &status) != 0 ||
      account_in_group(status.st_gid)) {
    return text;
  }
  const group* owner = getgrgid(status.st_gid);
  const std::string name = owner ? owner->gr_name : std::to_string(status.st_gid);
  return text + "\rThis account is not in the group \"" + name +
         "\", which may use the serial ports: run \"sudo usermod -aG " + name +
         " $USER\" and log in again.";
}

}  // namespace mav
