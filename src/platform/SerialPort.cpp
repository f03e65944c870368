#include "platform/SerialPort.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace mav {
namespace {

// The rates a gateway port can be set to; anything else keeps the device's own rate.
bool speed_of(std::uint32_t baud_rate, speed_t& speed) {
  switch (baud_rate) {
    case 1200:
      speed = B1200;
      return true;
    case 2400:
      speed = B2400;
      return true;
    case 4800:
      speed = B4800;
      return true;
    case 9600:
      speed = B9600;
      return true;
    case 19200:
      speed = B19200;
      return true;
    case 38400:
      speed = B38400;
      return true;
    case 57600:
      speed = B57600;
      return true;
    case 115200:
      speed = B115200;
      return true;
    case 230400:
      speed = B230400;
      return true;
    default:
      return false;
  }
}

void set_line(int fd, std::uint32_t baud_rate) {
  termios settings{};
  if (tcgetattr(fd, &settings) != 0) return;
  cfmakeraw(&settings);  // no echo, no line editing, CR and LF pass unchanged
  settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
  settings.c_cflag |= CS8 | CLOCAL | CREAD;
  settings.c_cc[VMIN] = 0;
  settings.c_cc[VTIME] = 0;
  speed_t speed{};
  if (speed_of(baud_rate, speed)) {
    cfsetispeed(&settings, speed);
    cfsetospeed(&settings, speed);
  }
  tcsetattr(fd, TCSANOW, &settings);
}

}  // namespace

SerialPort::~SerialPort() {
  close();
}

bool SerialPort::open(const char* device_name, std::uint32_t baud_rate) {
  close();
  fd_ = ::open(device_name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  open_error_ = fd_ < 0 ? errno : 0;
  if (fd_ < 0) return false;
  ioctl(fd_, TIOCEXCL);  // nobody else may open the line while the program holds it
  set_line(fd_, baud_rate);
  return true;
}

int SerialPort::waiting_bytes() const {
  int count = 0;
  if (fd_ < 0 || ioctl(fd_, FIONREAD, &count) != 0) return 0;
  return count;
}

bool SerialPort::read_byte(char& byte) {
  return fd_ >= 0 && ::read(fd_, &byte, 1) == 1;
}

std::size_t SerialPort::write(const char* data, std::size_t length) {
  std::size_t done = 0;
  while (fd_ >= 0 && done < length) {
    const ssize_t written = ::write(fd_, data + done, length - done);
    if (written > 0) {
      done += static_cast<std::size_t>(written);
      continue;
    }
    if (written < 0 && errno == EINTR) continue;
    break;  // the device's buffer is full, or the device failed
  }
  return done;
}

void SerialPort::close() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
}

}  // namespace mav
