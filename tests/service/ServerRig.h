// A control server with its loop on a thread of its own, as in the service, answering lines the
// way the service does: errors for bad lines, the snapshot for an identify, "accepted" for every
// request. The server's tests and its benchmark share it.
#pragma once

#include <sys/socket.h>
#include <sys/un.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <thread>

#include "service/ControlMessages.h"
#include "service/ControlServer.h"
#include "support/Eventually.h"
#include "support/ScratchDirectory.h"

namespace mav::test {

inline const std::string kHello =
    R"({"type":"hello","protocol":1,"site":"Test","link":"connected","synchronised":true})"
    "\n";

struct ServerRig final : ControlClients {
  explicit ServerRig(ControlLimits limits = {}) : server(loop, *this, limits) {}
  ~ServerRig() override {
    loop.stop();
    if (thread.joinable()) thread.join();
  }
  std::string hello(int) override { return kHello.substr(0, kHello.size() - 1); }
  void on_line(int client, std::string_view line) override {
    const ControlMessage message = read_control_message(line);
    if (message.kind == ControlMessage::Kind::Invalid) {
      server.send(client, encode_error(message.error));
    } else if (message.kind == ControlMessage::Kind::Identify) {
      server.identify(client, message.name);
      server.send(client, encode_snapshot(0, model, {}));
    } else {
      server.send(client, encode_response(message.request.id, ResponseStatus::Accepted));
    }
  }
  void on_closed(int) override { ++closed; }
  void start() {
    thread = std::thread([this] { loop.run(); });
  }
  // Runs fn on the loop's thread and waits for it.
  void on_loop(std::function<void()> fn) {
    std::atomic<bool> done{false};
    loop.post([&] { fn(), done = true; });
    eventually([&] { return done.load(); });
  }

  SystemClock clock;
  EventLoop loop{clock};
  DeviceModel model;
  ControlServer server;
  std::atomic<int> closed{0};
  std::thread thread;
  ScratchDirectory scratch;
  std::filesystem::path socket_path = scratch / "run/control.sock";
};

inline int connect_unix(const std::filesystem::path& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return -1;
  return fd;
}

inline bool write_all(int fd, const std::string& text) {
  return ::send(fd, text.data(), text.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(text.size());
}

}  // namespace mav::test
