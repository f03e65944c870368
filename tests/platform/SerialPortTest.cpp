// The serial port on a real pseudo-terminal.
#include "platform/SerialPort.h"

#include <gtest/gtest.h>
#include <termios.h>

#include <string>

#include "support/Eventually.h"
#include "support/PseudoTerminal.h"

namespace mav::test {
namespace {

TEST(SerialPort, SetsRawBytes8N1AtTheRateAndCarriesCarriageReturnsAndLineFeedsUnchanged) {
  PseudoTerminal line;
  SerialPort port;
  ASSERT_TRUE(port.open(line.name().c_str(), 19200));
  termios settings{};
  ASSERT_EQ(tcgetattr(line.slave_fd(), &settings), 0);
  EXPECT_EQ(cfgetospeed(&settings), static_cast<speed_t>(B19200));
  EXPECT_EQ(cfgetispeed(&settings), static_cast<speed_t>(B19200));
  EXPECT_EQ(settings.c_cflag & (CSIZE | PARENB | CSTOPB), static_cast<tcflag_t>(CS8));
  EXPECT_EQ(settings.c_lflag & (ICANON | ECHO), 0u);

  char byte = 0;
  EXPECT_FALSE(port.read_byte(byte));  // nothing waits: back at once
  EXPECT_EQ(port.write("VER\r\n", 5), 5u);
  EXPECT_EQ(line.read(5), "VER\r\n");
  ASSERT_TRUE(line.write("E\r\n"));
  ASSERT_TRUE(eventually([&] { return port.waiting_bytes() == 3; }));
  std::string received;
  while (port.read_byte(byte)) received += byte;
  EXPECT_EQ(received, "E\r\n");
  EXPECT_EQ(port.waiting_bytes(), 0);
  EXPECT_EQ(line.read_available(), "");  // nothing echoed back to the gateway
}

TEST(SerialPort, AWriteTakesWhatTheDeviceHasRoomForWithoutWaiting) {
  PseudoTerminal line;
  SerialPort port;
  ASSERT_TRUE(port.open(line.name().c_str(), 9600));
  const std::string block(200000, 'x');  // far more than the device buffers
  const std::size_t written = port.write(block.data(), block.size());
  EXPECT_GT(written, 0u);
  EXPECT_LT(written, block.size());
  EXPECT_EQ(line.read(written), block.substr(0, written));
}

}  // namespace
}  // namespace mav::test
