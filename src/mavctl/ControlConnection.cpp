#include "mavctl/ControlConnection.h"

#include <netdb.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/HostPort.h"

namespace mav {

ControlConnection::~ControlConnection() {
  if (fd_ >= 0) ::close(fd_);
}

bool ControlConnection::open_unix(const std::filesystem::path& path, std::string& error) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.native().size() >= sizeof address.sun_path) {
    error = "the socket path is too long";
    return false;
  }
  std::memcpy(address.sun_path, path.c_str(), path.native().size() + 1);
  fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd_ >= 0 && ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
    return true;
  error = std::strerror(errno);
  return false;
}

bool ControlConnection::open_tcp(std::string_view host_port, std::string& error) {
  const AddressList found = resolve_host_port(host_port, false, error);
  for (const addrinfo* at = found.get(); at != nullptr; at = at->ai_next) {
    fd_ = ::socket(at->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ >= 0 && ::connect(fd_, at->ai_addr, at->ai_addrlen) == 0) break;
    error = std::strerror(errno);
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  return fd_ >= 0;
}

bool ControlConnection::send_line(std::string_view line) {
  std::string out(line);
  out.push_back('\n');
  for (std::size_t at = 0; at < out.size();) {
    const ssize_t sent = ::send(fd_, out.data() + at, out.size() - at, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    at += static_cast<std::size_t>(sent);
  }
  return true;
}

std::optional<std::string> ControlConnection::read_line() {
  for (;;) {
    const std::size_t end = buffer_.find('\n');
    if (end != std::string::npos) {
      std::string line = buffer_.substr(0, end);
      buffer_.erase(0, end + 1);
      return line;
    }
    char chunk[65536];
    const ssize_t got = ::recv(fd_, chunk, sizeof chunk, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return std::nullopt;
    buffer_.append(chunk, static_cast<std::size_t>(got));
  }
}

}  // namespace mav
