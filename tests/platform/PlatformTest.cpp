// The platform parts on real descriptors: the poll pump's connection timer (its socket
// notifications are proven through the link channel), the serial devices offered and the words
// for one that would not open, the serial port on a pseudo-terminal, and the worker's wait.
#include <grp.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <string>
#include <thread>

#include "platform/EventLoop.h"
#include "platform/SerialDevices.h"
#include "platform/SerialPort.h"
#include "platform/WakeSignal.h"
#include "support/Eventually.h"
#include "support/FakeClock.h"
#include "support/PseudoTerminal.h"
#include "support/ScratchDirectory.h"

namespace mav::test {
namespace {

struct TimerEvents final : SocketEvents {
  void on_socket_read() override {}
  void on_socket_connected() override {}
  void on_socket_closed() override {}
  void on_connect_timeout() override { fired += 't'; }
  std::string fired;
};

TEST(EventLoop, TheTimerCountsFromItsLastStartFiresEachIntervalUntilKilled) {
  FakeClock clock;
  TimerEvents events;
  EventLoop pump{clock, &events};
  pump.start_timer(7117, 15500);
  clock.advance_ms(10000);
  pump.start_timer(7117, 15500);
  for (const std::uint32_t ms : {15499, 1, 15499, 1, 0}) {
    if (ms == 0) pump.kill_timer(7117);
    clock.advance_ms(ms ? ms : 40000);
    pump.run_once(0);
    events.fired += '|';
  }
  EXPECT_EQ(events.fired, "|t||t||");
}

TEST(EventLoop, WorkPostedFromAnotherThreadRunsInOrderOnTheLoop) {
  FakeClock clock;
  EventLoop loop(clock);
  std::string ran;
  std::thread poster([&] {
    for (char digit = '0'; digit <= '9'; ++digit) loop.post([&ran, digit] { ran += digit; });
    loop.post([&] { loop.stop(); });
  });
  loop.run();  // no timer and no descriptor: only the posts can end the wait
  poster.join();
  EXPECT_EQ(ran, "0123456789");
}

TEST(SerialDevices, OffersThePortsAndTheirStableNamesAndSaysWhyOneWouldNotOpen) {
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
  EXPECT_EQ(serial_open_failure("/dev/absent-port", ENOENT),
            "/dev/absent-port: No such file or directory.");
  // A device of a group this account is not in; only the superuser can make one.
  const group* dialout = getgrnam("dialout");
  if (geteuid() != 0 || !dialout) GTEST_SKIP() << "needs the superuser and a dialout group";
  const std::string own = (dev / "ttyS0").string(), other = (dev / "ttyS1").string();
  ASSERT_EQ(chown(other.c_str(), static_cast<uid_t>(-1), dialout->gr_gid), 0);
  EXPECT_EQ(serial_open_failure(own, EACCES), own + ": Permission denied.");
  EXPECT_EQ(serial_open_failure(other, EACCES),
            other +
                ": Permission denied.\rThis account is not in the group \"dialout\", which "
                "may use the serial ports: run \"sudo usermod -aG dialout $USER\" and log in "
                "again.");
}

TEST(SerialPort, SetsRawBytes8N1AtTheRateAndCarriesCarriageReturnsAndLineFeedsUnchanged) {
  PseudoTerminal line;
  SerialPort port;
  ASSERT_TRUE(port.open(line.name().c_str(), 19200));
  termios settings{};
  ASSERT_EQ(tcgetattr(line.slave_fd(), &settings), 0);
  EXPECT_EQ(
      std::tuple(cfgetospeed(&settings), cfgetispeed(&settings),
                 settings.c_cflag & (CSIZE | PARENB | CSTOPB), settings.c_lflag & (ICANON | ECHO)),
      std::tuple(speed_t{B19200}, speed_t{B19200}, tcflag_t{CS8}, tcflag_t{0}));
  char byte = 0;
  EXPECT_FALSE(port.read_byte(byte));  // nothing waits: back at once
  EXPECT_EQ(port.write("VER\r\n", 5), 5u);
  EXPECT_EQ(line.read(5), "VER\r\n");
  ASSERT_TRUE(line.write("E\r\n"));
  ASSERT_TRUE(eventually([&] { return port.waiting_bytes() == 3; }));
  std::string received;
  while (port.read_byte(byte)) received += byte;
  EXPECT_EQ(received + std::to_string(port.waiting_bytes()), "E\r\n0");
  EXPECT_EQ(line.read_available(), "");  // nothing echoed back to the gateway
  // A write takes what the device has room for without waiting.
  const std::string block(200000, 'x');
  const std::size_t written = port.write(block.data(), block.size());
  EXPECT_TRUE(written > 0 && written < block.size()) << written;
  EXPECT_EQ(line.read(written), block.substr(0, written));
}

TEST(WakeSignal, WakeUpsAndBytesEndTheWaitAHungUpDescriptorDoesNot) {
  enum Pipe { None, Bytes, HungUp };
  const struct {
    int wakes;  // before the first wait
    Pipe pipe;
    bool first, second;  // what a wait without time finds, and the one after it
  } rows[] = {
      {0, None, false, false},   {1, None, true, false},   {3, None, true, false},  // counted once
      {0, Bytes, true, true},  // bytes end every wait until read
      {0, HungUp, false, false}, {1, HungUp, true, false},
  };
  for (const auto& row : rows) {
    WakeSignal signal;
    int ends[2] = {-1, -1};
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(row.pipe == Bytes ? ::write(ends[1], "x", 1) : 1, 1);
    if (row.pipe == HungUp) ::close(ends[1]);
    for (int i = 0; i < row.wakes; ++i) signal.wake();
    const int fd = row.pipe == None ? -1 : ends[0];
    EXPECT_EQ(signal.wait(fd, 0), row.first) << &row - rows;
    EXPECT_EQ(signal.wait(fd, 0), row.second) << &row - rows;
    ::close(ends[0]);
    if (row.pipe != HungUp) ::close(ends[1]);
  }
  // A wake-up from another thread ends a wait each time, with and without a limit.
  WakeSignal signal;
  for (const auto limit : {std::optional<std::uint32_t>{}, std::optional<std::uint32_t>{10000}}) {
    std::thread other([&] { signal.wake(); });
    EXPECT_TRUE(signal.wait(-1, limit));
    other.join();
  }
}

}  // namespace
}  // namespace mav::test
