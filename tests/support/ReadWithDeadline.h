// Reading what the program under test sent, from the far end of its serial line or socket.
#pragma once

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace mav::test {

// Reads from fd until count bytes are in, the far end closes, or the deadline passes.
inline std::string read_with_deadline(int fd, std::size_t count,
                                      std::chrono::milliseconds deadline) {
  std::string received;
  const auto give_up = std::chrono::steady_clock::now() + deadline;
  while (received.size() < count && std::chrono::steady_clock::now() < give_up) {
    pollfd in{fd, POLLIN, 0};
    if (poll(&in, 1, 50) <= 0) continue;
    char buffer[4096];
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) break;
    if (got > 0) received.append(buffer, static_cast<std::size_t>(got));
  }
  return received;
}

}  // namespace mav::test
