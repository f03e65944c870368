#include "platform/TcpSocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace mav {
namespace {

const sockaddr* as_address(const sockaddr_in& address) {
  return reinterpret_cast<const sockaddr*>(&address);
}

}  // namespace

TcpSocket::~TcpSocket() {
  shutdown_and_close();
}

bool TcpSocket::create() {
  shutdown_and_close();
  fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  return fd_ >= 0;
}

bool TcpSocket::bind_any() {
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = 0;
  local.sin_addr.s_addr = htonl(INADDR_ANY);
  return fd_ >= 0 && ::bind(fd_, as_address(local), sizeof local) == 0;
}

TcpSocket::ConnectStart TcpSocket::start_connect(const std::uint8_t (&address)[4],
                                                 std::uint16_t port) {
  sockaddr_in remote{};
  remote.sin_family = AF_INET;
  remote.sin_port = htons(port);
  std::memcpy(&remote.sin_addr.s_addr, address, sizeof address);  // bytes in the order given
  if (fd_ >= 0 && ::connect(fd_, as_address(remote), sizeof remote) != 0 && errno == EINPROGRESS) {
    return ConnectStart::UnderWay;
  }
  return ConnectStart::Failed;
}

std::size_t TcpSocket::send(const char* data, std::size_t length) {
  if (fd_ < 0) return 0;
  const ssize_t sent = ::send(fd_, data, length, MSG_NOSIGNAL | MSG_DONTWAIT);
  return sent > 0 ? static_cast<std::size_t>(sent) : 0;
}

long TcpSocket::recv(char* buffer, std::size_t capacity) {
  if (fd_ < 0) return -1;
  return static_cast<long>(::recv(fd_, buffer, capacity, MSG_DONTWAIT));
}

void TcpSocket::shutdown_and_close() {
  if (fd_ < 0) return;
  ::shutdown(fd_, SHUT_RDWR);
  ::close(fd_);
  fd_ = -1;
}

}  // namespace mav
