// A small HTTP/1.0 responder on the service's loop for Prometheus' scrapes: GET /metrics gets
// the exposition, anything else 404; each connection takes one request and closes once its
// answer has left. Non-blocking throughout, so a slow scraper holds up nothing. Loop thread.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "platform/EventLoop.h"

namespace mav {

class MetricsServer {
 public:
  // body: the exposition at the moment of the request.
  MetricsServer(EventLoop& loop, std::function<std::string()> body);
  MetricsServer(const MetricsServer&) = delete;
  MetricsServer& operator=(const MetricsServer&) = delete;
  ~MetricsServer();

  // Listens on HOST:PORT (a numeric IPv4 address); false with a sentence in error otherwise.
  bool listen(std::string_view host_port, std::string& error);
  std::uint16_t port() const { return port_; }

 private:
  struct Connection {
    std::string input;
    std::string output;
    std::size_t sent = 0;
  };

  void accept_all();
  void on_ready(int fd, short revents);
  void answer(Connection& connection);
  void close_connection(int fd);

  EventLoop& loop_;
  std::function<std::string()> body_;
  int listener_ = -1;
  std::uint16_t port_ = 0;
  std::map<int, Connection> connections_;
};

}  // namespace mav
