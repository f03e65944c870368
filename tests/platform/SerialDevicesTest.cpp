// The serial devices offered to the operator, and the words for one that would not open.
#include "platform/SerialDevices.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>

#include "support/ScratchDirectory.h"

namespace mav::test {
namespace {

TEST(SerialDevicesTest, OffersThePortsAndTheirStableNames) {
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

TEST(SerialDevicesTest, SaysWhyADeviceWouldNotOpenAndHowToGetAccess) {
  EXPECT_EQ(serial_open_failure("/dev/absent-port", ENOENT),
            "/dev/absent-port: No such file or directory.");

  // A device of a group this account is not in; only the superuser can make one.
  const group* dialout = getgrnam("dialout");
  if (geteuid() != 0 || !dialout) GTEST_SKIP() << "needs the superuser and a dialout group";
  ScratchDirectory dir;
  const std::string own = (dir / "ttyUSB0").string();
  const std::string other = (dir / "ttyUSB1").string();
  std::ofstream{own};
  std::ofstream{other};
  ASSERT_EQ(chown(other.c_str(), static_cast<uid_t>(-1), dialout->gr_gid), 0);
  EXPECT_EQ(serial_open_failure(own, EACCES), own + ": Permission denied.");
  EXPECT_EQ(serial_open_failure(other, EACCES),
            other +
                ": Permission denied.\rThis account is not in the group \"dialout\", which "
                "may use the serial ports: run \"sudo usermod -aG dialout $USER\" and log in "
                "again.");
}

}  // namespace
}  // namespace mav::test
