#include "bridge/MetricsServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

namespace mav {
namespace {

constexpr std::size_t kMaxRequest = 8192;
constexpr std::size_t kMaxConnections = 16;

std::string reply(std::string_view status, std::string_view type, std::string_view body) {
  return "HTTP/1.0 " + std::string(status) + "\r\nContent-Type: " + std::string(type) +
         "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" +
         std::string(body);
}

}  // namespace

MetricsServer::MetricsServer(EventLoop& loop, std::function<std::string()> body)
    : loop_(loop), body_(std::move(body)) {}

MetricsServer::~MetricsServer() {
  while (!connections_.empty()) close_connection(connections_.begin()->first);
  if (listener_ >= 0) {
    loop_.unwatch(listener_);
    ::close(listener_);
  }
}

bool MetricsServer::listen(std::string_view host_port, std::string& error) {
  const auto colon = host_port.rfind(':');
  sockaddr_in address{};
  address.sin_family = AF_INET;
  unsigned port = 0;
  const std::string host(host_port.substr(0, colon));
  const std::string_view digits =
      colon == std::string_view::npos ? std::string_view() : host_port.substr(colon + 1);
  const auto parsed = std::from_chars(digits.data(), digits.data() + digits.size(), port);
  if (colon == std::string_view::npos || parsed.ec != std::errc() ||
      parsed.ptr != digits.data() + digits.size() || port > 65535 ||
      ::inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1) {
    error = "--metrics wants HOST:PORT with a numeric IPv4 address, not " + std::string(host_port);
    return false;
  }
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  const int on = 1;
  ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  socklen_t length = sizeof address;
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      ::listen(listener_, 8) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    error = "cannot serve metrics on " + std::string(host_port) + ": " + std::strerror(errno);
    return false;
  }
  port_ = ntohs(address.sin_port);
  loop_.watch(listener_, POLLIN, [this](short) { accept_all(); });
  return true;
}

void MetricsServer::accept_all() {
  for (;;) {
    const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return;
    if (connections_.size() >= kMaxConnections) {
      ::close(fd);
      continue;
    }
    connections_.emplace(fd, Connection{});
    loop_.watch(fd, POLLIN, [this, fd](short revents) { on_ready(fd, revents); });
  }
}

void MetricsServer::on_ready(int fd, short revents) {
  Connection& connection = connections_.at(fd);
  if (connection.output.empty()) {
    char buffer[2048];
    const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
    if (got == 0 || (got < 0 && errno != EAGAIN) || (revents & (POLLERR | POLLHUP))) {
      return close_connection(fd);
    }
    if (got > 0) connection.input.append(buffer, static_cast<std::size_t>(got));
    if (connection.input.find("\r\n\r\n") == std::string::npos &&
        connection.input.find("\n\n") == std::string::npos) {
      if (connection.input.size() > kMaxRequest) close_connection(fd);
      return;
    }
    answer(connection);
  }
  const ssize_t sent = ::send(fd, connection.output.data() + connection.sent,
                              connection.output.size() - connection.sent, MSG_NOSIGNAL);
  if (sent < 0 && errno != EAGAIN) return close_connection(fd);
  if (sent > 0) connection.sent += static_cast<std::size_t>(sent);
  if (connection.sent == connection.output.size()) return close_connection(fd);
  loop_.set_events(fd, POLLOUT);
}

void MetricsServer::answer(Connection& connection) {
  const std::string_view request = connection.input;
  if (request.starts_with("GET /metrics ") || request.starts_with("GET /metrics?")) {
    connection.output = reply("200 OK", "text/plain; version=0.0.4; charset=utf-8", body_());
  } else {
    connection.output = reply("404 Not Found", "text/plain", "Only /metrics is served here\n");
  }
}

void MetricsServer::close_connection(int fd) {
  loop_.unwatch(fd);
  ::close(fd);
  connections_.erase(fd);
}

}  // namespace mav
