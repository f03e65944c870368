// A real pseudo-terminal standing in for a serial line: the program opens the device at name(),
// the test plays the gateway on the master side.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <string_view>

#include "support/ReadWithDeadline.h"

namespace mav::test {

class PseudoTerminal {
 public:
  PseudoTerminal() {
    char name[256] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) == 0) name_ = name;
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;
  ~PseudoTerminal() {
    if (master_ >= 0) close(master_);
    if (slave_ >= 0) close(slave_);
  }

  const std::string& name() const { return name_; }
  int slave_fd() const { return slave_; }

  // What the gateway sends.
  bool write(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t written = ::write(master_, bytes.data(), bytes.size());
      if (written < 0) {
        pollfd out{master_, POLLOUT, 0};
        if (poll(&out, 1, 1000) <= 0) return false;
        continue;
      }
      bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
  }

  // What the program sent: everything that arrives until count bytes are in or the deadline.
  std::string read(std::size_t count,
                   std::chrono::milliseconds deadline = std::chrono::seconds(10)) {
    return read_with_deadline(master_, count, deadline);
  }

  // Whatever the program has sent so far, without waiting.
  std::string read_available() {
    std::string received;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = ::read(master_, buffer, sizeof buffer)) > 0) {
      received.append(buffer, static_cast<std::size_t>(got));
    }
    return received;
  }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string name_;
};

}  // namespace mav::test
