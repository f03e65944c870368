#include "console/ServiceSocket.h"

#include <netdb.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/HostPort.h"

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
  const AddressList found = resolve_host_port(host_port, false, error);
  int fd = -1;
  for (const addrinfo* at = found.get(); at != nullptr && fd < 0; at = at->ai_next)
    fd = start_connect(at->ai_family, at->ai_addr, at->ai_addrlen, error);
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
