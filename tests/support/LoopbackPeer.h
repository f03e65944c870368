// The far end of a network channel on 127.0.0.1: a listening socket on a free port, the one
// accepted connection, and plain blocking-with-deadline reads and writes on it.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "support/ReadWithDeadline.h"

namespace mav::test {

class LoopbackPeer {
 public:
  LoopbackPeer() : listener_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    port_ = bind_any_port(listener_);
    listen(listener_, 4);
  }
  LoopbackPeer(const LoopbackPeer&) = delete;
  LoopbackPeer& operator=(const LoopbackPeer&) = delete;
  ~LoopbackPeer() {
    close_connection();
    if (listener_ >= 0) close(listener_);
  }

  std::uint16_t port() const { return port_; }

  // A port on 127.0.0.1 where nothing listens: a connect there is refused.
  static std::uint16_t refusing_port() {
    const int probe = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const std::uint16_t port = bind_any_port(probe);
    close(probe);
    return port;
  }

  bool accept_connection(std::chrono::milliseconds deadline = std::chrono::seconds(10)) {
    pollfd in{listener_, POLLIN, 0};
    if (poll(&in, 1, static_cast<int>(deadline.count())) <= 0) return false;
    connection_ = accept(listener_, nullptr, nullptr);
    return connection_ >= 0;
  }

  bool send(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t sent = ::send(connection_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (sent <= 0) return false;
      bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
  }

  // Reads until count bytes are in, the program closes, or the deadline passes.
  std::string read(std::size_t count,
                   std::chrono::milliseconds deadline = std::chrono::seconds(10)) {
    return read_with_deadline(connection_, count, deadline);
  }

  // Everything until the program closes its end (or the deadline passes).
  std::string read_to_end(std::chrono::milliseconds deadline = std::chrono::seconds(10)) {
    return read(static_cast<std::size_t>(-1), deadline);
  }

  void close_connection() {
    if (connection_ >= 0) close(connection_);
    connection_ = -1;
  }

 private:
  // Binds the socket to a port on 127.0.0.1 the system picks, and returns that port.
  static std::uint16_t bind_any_port(int fd) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
  }

  int listener_ = -1;
  int connection_ = -1;
  std::uint16_t port_ = 0;
};

}  // namespace mav::test
