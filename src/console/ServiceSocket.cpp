#include "console/ServiceSocket.h"

#include <netdb.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace mav {
namespace {

// Starts the connect; the fd is kept while it is under way or done.
int start_connect(int family, const sockaddr* address, socklen_t length, std::string& error) {
  const int fd = ::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    error = std::strerror(errno);
    return -1;
  }
  if (::connect(fd, address, length) == 0 || errno == EINPROGRESS) return fd;
  error = std::strerror(errno);
  ::close(fd);
  return -1;
}

int open_unix(const std::string& path, std::string& error) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) {
    error = "the socket path is too long";
    return -1;
  }
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return start_connect(AF_UNIX, reinterpret_cast<const sockaddr*>(&address), sizeof address, error);
}

int open_tcp(std::string_view host_port, std::string& error) {
  const std::size_t colon = host_port.rfind(':');
  std::string host(host_port.substr(0, colon));
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
    host = host.substr(1, host.size() - 2);
  const std::string port(host_port.substr(colon + 1));
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* found = nullptr;
  if (const int failed = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &found); failed != 0) {
    error = ::gai_strerror(failed);
    return -1;
  }
  int fd = -1;
  for (const addrinfo* at = found; at != nullptr && fd < 0; at = at->ai_next)
    fd = start_connect(at->ai_family, at->ai_addr, at->ai_addrlen, error);
  ::freeaddrinfo(found);
  return fd;
}

}  // namespace

bool is_tcp_address(std::string_view address) {
  return address.find(':') != std::string_view::npos && address.find('/') == std::string_view::npos;
}

int open_service_socket(const std::string& address, std::string& error) {
  return is_tcp_address(address) ? open_tcp(address, error) : open_unix(address, error);
}

}  // namespace mav
