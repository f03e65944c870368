#include "Transports.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <pty.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

namespace mav::sim {
namespace {

void set_non_blocking(int fd) {
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}

}  // namespace

TcpListener::~TcpListener() {
  if (fd_ >= 0) close(fd_);
}

bool TcpListener::open(const std::string& host, int port, std::string& error) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  if (port < 0 || port > 65535 || inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1) {
    error = "not an IPv4 address and port: " + host + ":" + std::to_string(port);
    return false;
  }
  fd_ = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  const int yes = 1;
  setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  if (fd_ < 0 || bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(fd_, 4) != 0) {
    error = "cannot listen on " + host + ":" + std::to_string(port) + ": " + std::strerror(errno);
    return false;
  }
  socklen_t length = sizeof address;
  getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  return true;
}

int TcpListener::accept_client() const {
  const int client = accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
  if (client >= 0) {
    const int yes = 1;
    setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
  }
  return client;
}

Pty::~Pty() {
  if (!link_path_.empty()) unlink(link_path_.c_str());
  if (master_ >= 0) close(master_);
  if (slave_ >= 0) close(slave_);
}

bool Pty::open(const std::string& link_path, std::string& error) {
  char name[256] = {};
  if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
    error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
    return false;
  }
  device_path_ = name;
  termios raw{};
  tcgetattr(slave_, &raw);
  cfmakeraw(&raw);
  cfsetispeed(&raw, B9600);
  cfsetospeed(&raw, B9600);
  tcsetattr(slave_, TCSANOW, &raw);
  set_non_blocking(master_);
  fcntl(master_, F_SETFD, FD_CLOEXEC);
  fcntl(slave_, F_SETFD, FD_CLOEXEC);
  if (!link_path.empty()) {
    unlink(link_path.c_str());
    if (symlink(device_path_.c_str(), link_path.c_str()) != 0) {
      error = "cannot link " + link_path + ": " + std::strerror(errno);
      return false;
    }
    link_path_ = link_path;
  }
  return true;
}

int Pty::take_master() {
  const int fd = master_;
  master_ = -1;
  return fd;
}

bool split_host_port(const std::string& text, std::string& host, int& port) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) return false;
  host = text.substr(0, colon);
  const char* first = text.data() + colon + 1;
  const char* last = text.data() + text.size();
  const auto [end, failure] = std::from_chars(first, last, port);
  return failure == std::errc() && end == last && first != last;
}

}  // namespace mav::sim
