// Serial devices as the operator meets them: the ones this machine has, and why one would not
// open.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace mav {

// The serial devices under `devices` ("/dev" on a running system): the built-in ports ttyS*, USB
// adapters ttyUSB* and ttyACM*, and the stable names under serial/by-id; sorted by path.
std::vector<std::string> serial_devices_in(const std::filesystem::path& devices);

// The device's name and the system's reason for `error` (an errno value) on one line; for a
// device this account may not open, a second line naming the group that may and how to join it.
// A bare name such as "COM1" that names nothing is told apart, and so is a machine without any
// serial device.
// Line breaks are "\r". UI thread (it reads the group database).
std::string serial_open_failure(const std::string& device, int error);

}  // namespace mav
