#include "service/ControlServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "platform/HostPort.h"
#include "service/ControlMessages.h"

namespace mav {
namespace {

constexpr std::size_t kReadChunk = 64 * 1024;

std::string system_sentence(std::string_view what, std::string_view where) {
  return std::string(what) + " " + std::string(where) + ": " + std::strerror(errno) + ".";
}

bool fill_unix_address(const std::filesystem::path& path, sockaddr_un& address) {
  address = {};
  address.sun_family = AF_UNIX;
  const std::string& text = path.native();
  if (text.empty() || text.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
  return true;
}

// A socket file that no service answers on is left over from one that ended without cleaning up.
bool someone_listens(const sockaddr_un& address) {
  const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (probe < 0) return false;
  const bool answered =
      ::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(probe);
  return answered;
}

std::string peer_text(const sockaddr_storage& peer) {
  char host[INET6_ADDRSTRLEN] = "?";
  std::uint16_t port = 0;
  if (peer.ss_family == AF_INET) {
    const auto* v4 = reinterpret_cast<const sockaddr_in*>(&peer);
    ::inet_ntop(AF_INET, &v4->sin_addr, host, sizeof host);
    port = ntohs(v4->sin_port);
  } else if (peer.ss_family == AF_INET6) {
    const auto* v6 = reinterpret_cast<const sockaddr_in6*>(&peer);
    ::inet_ntop(AF_INET6, &v6->sin6_addr, host, sizeof host);
    port = ntohs(v6->sin6_port);
  }
  return "tcp:" + std::string(host) + ":" + std::to_string(port);
}

}  // namespace

ControlServer::ControlServer(EventLoop& loop, ControlClients& clients, ControlLimits limits)
    : loop_(loop), handler_(clients), limits_(limits) {}

ControlServer::~ControlServer() {
  for (const auto& [id, client] : clients_) {
    if (client.fd < 0) continue;
    loop_.unwatch(client.fd);
    ::close(client.fd);
  }
  stop_listening();
}

void ControlServer::close() {
  stop_listening();
  for (const auto& [id, client] : clients_) doom(id);
  close_doomed();
}

void ControlServer::stop_listening() {
  for (int* fd : {&unix_fd_, &tcp_fd_}) {
    if (*fd < 0) continue;
    loop_.unwatch(*fd);
    ::close(*fd);
    *fd = -1;
  }
  if (!unix_path_.empty()) ::unlink(unix_path_.c_str());
  unix_path_.clear();
  tcp_port_ = 0;
}

bool ControlServer::listen_unix(const std::filesystem::path& path, std::string& error) {
  sockaddr_un address;
  if (!fill_unix_address(path, address)) {
    error = "The socket path " + path.string() + " is empty or too long.";
    return false;
  }
  const std::filesystem::path folder = path.parent_path();
  std::error_code failed;
  if (!folder.empty() && !std::filesystem::exists(folder, failed)) {
    if (!std::filesystem::create_directories(folder, failed) ||
        ::chmod(folder.c_str(), S_IRWXU) != 0) {
      error = "Cannot make the folder " + folder.string() + ".";
      return false;
    }
  }
  struct stat existing;
  if (::lstat(path.c_str(), &existing) == 0) {
    if (!S_ISSOCK(existing.st_mode)) {
      error = path.string() + " exists and is no socket.";
      return false;
    }
    if (someone_listens(address)) {
      error = "Another service listens on " + path.string() + ".";
      return false;
    }
    ::unlink(path.c_str());
  }
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    error = system_sentence("Cannot listen on", path.string());
    if (fd >= 0) ::close(fd);
    return false;
  }
  unix_path_ = path;
  if (::chmod(path.c_str(), S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP) != 0 || !listen_on(fd, error)) {
    error = system_sentence("Cannot listen on", path.string());
    return false;
  }
  unix_fd_ = fd;
  loop_.watch(fd, POLLIN, [this, fd](short) { accept_clients(fd, true); });
  return true;
}

bool ControlServer::adopt_unix(int fd, std::string& error) {
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0) {
    error = system_sentence("Cannot use the socket handed over as", std::to_string(fd));
    return false;
  }
  unix_fd_ = fd;
  loop_.watch(fd, POLLIN, [this, fd](short) { accept_clients(fd, true); });
  return true;
}

bool ControlServer::listen_tcp(std::string_view host_port, std::string& error) {
  const AddressList found = resolve_host_port(host_port, true, error);
  if (!found) {
    error = "Cannot read the address " + std::string(host_port) + " (HOST:PORT).";
    return false;
  }
  int fd = ::socket(found->ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  const int yes = 1;
  if (fd >= 0) ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  if (fd >= 0 && ::bind(fd, found->ai_addr, found->ai_addrlen) != 0) {
    ::close(fd);
    fd = -1;
  }
  if (fd < 0 || !listen_on(fd, error)) {
    error = system_sentence("Cannot listen on", host_port);
    return false;
  }
  sockaddr_storage bound{};
  socklen_t length = sizeof bound;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length);
  tcp_port_ =
      ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<const sockaddr_in6*>(&bound)->sin6_port
                                        : reinterpret_cast<const sockaddr_in*>(&bound)->sin_port);
  tcp_fd_ = fd;
  loop_.watch(fd, POLLIN, [this, fd](short) { accept_clients(fd, false); });
  return true;
}

bool ControlServer::listen_on(int fd, std::string& error) {
  if (::listen(fd, 64) == 0) return true;
  error = std::strerror(errno);
  ::close(fd);
  return false;
}

void ControlServer::accept_clients(int listener, bool is_unix) {
  for (;;) {
    sockaddr_storage peer{};
    socklen_t length = sizeof peer;
    const int fd = ::accept4(listener, reinterpret_cast<sockaddr*>(&peer), &length,
                             SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return;
    const int id = next_id_++;
    Client client{fd, is_unix ? "unix" : peer_text(peer), {}, {}, {}, 0, std::nullopt, false, {}};
    ucred credentials{};
    socklen_t credentials_length = sizeof credentials;
    if (is_unix &&
        ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &credentials_length) == 0) {
      client.peer_uid = credentials.uid;
    }
    clients_.emplace(id, std::move(client));
    loop_.watch(fd, POLLIN, [this, id](short revents) { on_client_ready(id, revents); });
    send(id, handler_.hello(id));
  }
}

void ControlServer::on_client_ready(int id, short revents) {
  const auto found = clients_.find(id);
  if (found == clients_.end()) return;
  ++busy_;
  if (revents & POLLOUT) write_client(found->second);
  if ((revents & (POLLIN | POLLHUP | POLLERR)) && !found->second.closing)
    read_client(id, found->second);
  // A closing client is dropped once its output has left, or at once when its peer hung up (a
  // hang-up stays reported and would keep the loop spinning).
  if (found->second.closing && (found->second.output.empty() || (revents & (POLLHUP | POLLERR))))
    doom(id);
  watch_output(id, found->second);
  --busy_;
  close_doomed();
}

void ControlServer::read_client(int id, Client& client) {
  char chunk[kReadChunk];
  const ssize_t got = ::recv(client.fd, chunk, sizeof chunk, 0);
  if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) {
    doom(id);
    return;
  }
  if (got < 0) return;
  client.input.append(chunk, static_cast<std::size_t>(got));
  std::size_t start = 0;
  bool overlong = false;
  for (std::size_t end;
       !client.closing && (end = client.input.find('\n', start)) != std::string::npos;
       start = end + 1) {
    if (end - start > limits_.max_line) {
      overlong = true;
      break;
    }
    handler_.on_line(id, std::string_view(client.input).substr(start, end - start));
  }
  client.input.erase(0, start);
  if (overlong || client.input.size() > limits_.max_line) {
    const ControlError too_long{nullptr, "line_too_long",
                                "A line is at most " + std::to_string(limits_.max_line) +
                                    " bytes; the connection is closed."};
    send(id, encode_error(too_long));
    client.input.clear();
    client.closing = true;
  }
}

void ControlServer::write_client(Client& client) {
  while (client.output_sent < client.output.size()) {
    const ssize_t sent = ::send(client.fd, client.output.data() + client.output_sent,
                                client.output.size() - client.output_sent, MSG_NOSIGNAL);
    if (sent < 0) {
      if (errno == EAGAIN || errno == EINTR) break;
      client.closing = true;  // the peer is gone: nothing more will leave
      client.output.clear();
      client.output_sent = 0;
      return;
    }
    client.output_sent += static_cast<std::size_t>(sent);
  }
  if (client.output_sent == client.output.size()) {
    client.output.clear();
    client.output_sent = 0;
  } else if (client.output_sent > client.output.size() / 2) {
    client.output.erase(0, client.output_sent);
    client.output_sent = 0;
  }
}

void ControlServer::watch_output(int id, const Client& client) {
  if (clients_.count(id) == 0) return;
  const short events =
      static_cast<short>((client.closing ? 0 : POLLIN) | (client.output.empty() ? 0 : POLLOUT));
  loop_.set_events(client.fd, events);
}

void ControlServer::send(int client_id, std::string_view line) {
  const auto found = clients_.find(client_id);
  if (found == clients_.end() || found->second.closing) return;
  Client& client = found->second;
  if (client.sink) return client.sink(line);
  client.output.append(line).push_back('\n');
  if (client.output.size() - client.output_sent > limits_.max_queued) {
    doom(client_id);  // it stopped reading: the others must not wait for it
  } else {
    write_client(client);
    if (client.closing && client.output.empty()) doom(client_id);
  }
  watch_output(client_id, client);
  close_doomed();
}

void ControlServer::broadcast(std::string_view line) {
  ++busy_;
  for (const auto& [id, client] : clients_) {
    if (!client.name.empty() && !client.sink) send(id, line);
  }
  --busy_;
  close_doomed();
}

void ControlServer::identify(int client, std::string name) {
  const auto found = clients_.find(client);
  if (found != clients_.end()) found->second.name = std::move(name);
}

std::string ControlServer::name_of(int client) const {
  const auto found = clients_.find(client);
  return found == clients_.end() ? std::string() : found->second.name;
}

std::optional<uid_t> ControlServer::peer_uid(int client) const {
  const auto found = clients_.find(client);
  return found == clients_.end() ? std::nullopt : found->second.peer_uid;
}

std::string ControlServer::origin_of(int client) const {
  const auto found = clients_.find(client);
  return found == clients_.end() ? std::string() : found->second.origin;
}

int ControlServer::attach(std::string name, std::string origin,
                          std::function<void(std::string_view)> sink) {
  const int id = next_id_++;
  clients_.emplace(
      id,
      Client{
          -1, std::move(origin), std::move(name), {}, {}, 0, std::nullopt, false, std::move(sink)});
  return id;
}

void ControlServer::drop(int client) {
  doom(client);
  close_doomed();
}

void ControlServer::doom(int id) {
  const auto found = clients_.find(id);
  if (found == clients_.end()) return;
  found->second.closing = true;
  doomed_.push_back(id);
}

void ControlServer::close_doomed() {
  if (busy_ > 0) return;
  ++busy_;
  while (!doomed_.empty()) {
    const int id = doomed_.back();
    doomed_.pop_back();
    close_client(id);
  }
  --busy_;
}

void ControlServer::close_client(int id) {
  const auto found = clients_.find(id);
  if (found == clients_.end()) return;
  if (found->second.fd >= 0) {
    loop_.unwatch(found->second.fd);
    ::close(found->second.fd);
  }
  clients_.erase(found);
  handler_.on_closed(id);
}

}  // namespace mav
