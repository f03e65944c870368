// The serial devices offered to the operator, and the words for one that would not open.
#include "platform/SerialDevices.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

#include "support/ScratchDirectory.h"

namespace mav::test {
namespace {

TEST(SerialDevices, OffersThePortsAndTheirStableNames) {
  ScratchDirectory dev;
  std::filesystem::create_directories(dev / "serial/by-id");
  for (const char* name : {"ttyS1", "ttyS0", "ttyUSB0", "ttyACM2", "tty0", "ttyS", "null",
                           "serial/by-id/usb-Gateway_Adapter-if00-port0"}) {
    std::ofstream{dev / name};
  }
  const std::string root = dev.path().string();
  EXPECT_EQ(serial_devices_in(dev.path()),
            (std::vector<std::string>{root + "/serial/by-id/usb-Gateway_Adapter-if00-port0",
                                      root + "/ttyACM2", root + "/ttyS0", root + "/ttyS1",
                                      root + "/ttyUSB0"}));
  EXPECT_TRUE(serial_devices_in(dev / "absent").empty());
}

TEST(SerialDevices, SaysWhyADeviceWouldNotOpen) {
  EXPECT_EQ(serial_open_failure("/dev/absent-port", ENOENT),
            "/dev/absent-port: No such file or directory.");
}

}  // namespace
}  // namespace mav::test
