// A non-blocking IPv4 TCP socket for a network channel. Readiness is not watched here: whoever
// carries the UI thread's events (the Qt shell, or the event loop headless) watches fd().
#pragma once

#include <cstddef>
#include <cstdint>

namespace mav {

class TcpSocket {
 public:
  enum class ConnectStart { UnderWay, Failed };

  TcpSocket() = default;
  TcpSocket(const TcpSocket&) = delete;
  TcpSocket& operator=(const TcpSocket&) = delete;
  ~TcpSocket();

  // A fresh non-blocking stream socket; false when none can be made.
  bool create();
  // Binds to any local address and port 0.
  bool bind_any();
  // Starts connecting; UnderWay is the only outcome a caller proceeds with (an immediate
  // completion counts as Failed, because the completion would never be notified).
  ConnectStart start_connect(const std::uint8_t (&address)[4], std::uint16_t port);
  // What the peer accepts without waiting: bytes sent, 0 when none, never a signal.
  std::size_t send(const char* data, std::size_t length);
  // Received bytes into buffer: the count, 0 when the peer has closed, -1 when nothing waits.
  long recv(char* buffer, std::size_t capacity);
  // Ends both directions, then releases the socket; errors are of no interest here.
  void shutdown_and_close();

  bool is_open() const { return fd_ >= 0; }
  int fd() const { return fd_; }

 private:
  int fd_ = -1;
};

}  // namespace mav
