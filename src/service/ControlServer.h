// The control protocol's listeners and clients: a Unix socket (and, when asked, a TCP port),
// non-blocking sockets driven by the event loop, input framed into lines, and a bounded output
// queue per client. A client that sends an over-long line is told so and dropped; one that stops
// reading is dropped once its queue passes the limit, and nobody else waits for it. Loop thread
// only.
#pragma once

#include <sys/types.h>
#include <cstddef>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/EventLoop.h"

namespace mav {

// What the server hands up: the greeting for a new client, its lines, and its departure.
class ControlClients {
 public:
  virtual ~ControlClients() = default;
  virtual std::string hello(int client) = 0;
  virtual void on_line(int client, std::string_view line) = 0;
  virtual void on_closed(int client) = 0;
};

struct ControlLimits {
  std::size_t max_line = 64 * 1024;          // bytes before the "\n"
  std::size_t max_queued = 4 * 1024 * 1024;  // unsent bytes of one client
};

class ControlServer {
 public:
  ControlServer(EventLoop& loop, ControlClients& clients, ControlLimits limits = {});
  ControlServer(const ControlServer&) = delete;
  ControlServer& operator=(const ControlServer&) = delete;
  ~ControlServer();

  // Listens on path: a missing parent folder is made (0700), a stale socket file replaced, the
  // socket left at 0660. False with a sentence in error when that cannot be done.
  bool listen_unix(const std::filesystem::path& path, std::string& error);
  // Serves a listening Unix socket made by the service manager (socket activation); the
  // manager keeps its file.
  bool adopt_unix(int fd, std::string& error);
  // Listens on HOST:PORT ("[::1]:PORT" for IPv6).
  bool listen_tcp(std::string_view host_port, std::string& error);
  std::uint16_t tcp_port() const { return tcp_port_; }

  // Queues line and its "\n" for the client (nothing for a client gone).
  void send(int client, std::string_view line);
  // Queues line for every identified client.
  void broadcast(std::string_view line);
  void identify(int client, std::string name);
  // The name a client identified with; empty before it did.
  std::string name_of(int client) const;
  // Where a client came from: "unix" or "tcp:ADDRESS:PORT".
  std::string origin_of(int client) const;
  // The user a Unix client runs as; nothing for a TCP client.
  std::optional<uid_t> peer_uid(int client) const;
  void drop(int client);
  // Stops listening and drops every client, each told to the handler; listening may start again.
  void close();
  // A client with no socket of its own (a broker's command topic): whoever attached it hands its
  // lines to the handler, what is sent to it goes to `sink`, and it takes no broadcasts.
  int attach(std::string name, std::string origin, std::function<void(std::string_view)> sink);
  std::size_t client_count() const { return clients_.size(); }

 private:
  struct Client {
    int fd;
    std::string origin;
    std::string name;
    std::string input;
    std::string output;
    std::size_t output_sent = 0;
    std::optional<uid_t> peer_uid;
    bool closing = false;  // takes no more input; dropped once its output has left
    std::function<void(std::string_view)> sink{};  // set for a client without a socket
  };

  bool listen_on(int fd, std::string& error);
  void stop_listening();
  void accept_clients(int listener, bool is_unix);
  void on_client_ready(int id, short revents);
  void read_client(int id, Client& client);
  void write_client(Client& client);
  void watch_output(int id, const Client& client);
  void close_client(int id);
  void doom(int id);
  void close_doomed();

  EventLoop& loop_;
  ControlClients& handler_;
  ControlLimits limits_;
  int unix_fd_ = -1;
  int tcp_fd_ = -1;
  std::uint16_t tcp_port_ = 0;
  std::filesystem::path unix_path_;
  std::map<int, Client> clients_;
  int next_id_ = 1;
  int busy_ = 0;             // depth of calls into the handler; drops wait until it is 0
  std::vector<int> doomed_;  // clients to close once no handler call is under way
};

}  // namespace mav
