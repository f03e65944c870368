// A serial device carrying the gateway line: raw mode, 8 data bits, no parity, 1 stop bit, and a
// read that never waits. The channel serialises all calls on one port under its own lock.
#pragma once

#include <cstddef>
#include <cstdint>

namespace mav {

class SerialPort {
 public:
  SerialPort() = default;
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;
  ~SerialPort();

  // Opens an existing device read-write for this program alone, without making it the
  // controlling terminal, and sets the line: the given baud rate (left as the device had it when
  // the rate is not one the platform knows), 8N1, raw bytes. False when the device cannot be
  // opened; the line settings themselves are applied as far as the device allows.
  bool open(const char* device_name, std::uint32_t baud_rate);
  // The system's error number of the last open that failed; 0 after one that succeeded.
  int open_error() const { return open_error_; }
  bool is_open() const { return fd_ >= 0; }
  // The open device's descriptor, for waiting until bytes arrive; -1 when closed.
  int fd() const { return fd_; }
  // How many received bytes wait to be read; 0 when none or on any error.
  int waiting_bytes() const;
  // Reads one byte if one is waiting; false at once otherwise.
  bool read_byte(char& byte);
  // Writes what the device takes now and never waits: the number of bytes written, short when
  // the device's buffer is full or the device failed. The caller keeps the rest.
  std::size_t write(const char* data, std::size_t length);
  void close();

 private:
  int fd_ = -1;
  int open_error_ = 0;
};

}  // namespace mav
