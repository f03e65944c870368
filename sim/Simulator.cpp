#include "Simulator.h"

#include <poll.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>

#include "ReplyFormat.h"

namespace mav::sim {
namespace {

void write_all(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t put = fd == STDOUT_FILENO
                            ? write(fd, text.data() + done, text.size() - done)
                            : send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return;
    done += static_cast<std::size_t>(put);
  }
}

}  // namespace

Simulator::Simulator(const Options& options)
    : options_(options), gateway_(GatewayModel(options.lineup, options.buses)) {}

Simulator::~Simulator() {
  for (ControlClient& client : control_clients_) close(client.fd);
  if (signal_fd_ >= 0) close(signal_fd_);
}

std::uint64_t Simulator::now_ms() const {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::uint64_t>(now.tv_sec) * 1000u +
         static_cast<std::uint64_t>(now.tv_nsec / 1000000);
}

bool Simulator::start(std::string& error) {
  if (!transcript_.open(options_.transcript_path)) {
    error = "cannot write the transcript " + options_.transcript_path;
    return false;
  }
  if (!options_.script_path.empty()) {
    std::ifstream file(options_.script_path);
    std::stringstream text;
    text << file.rdbuf();
    if (!file || !script_.load(text.str(), error)) {
      error = options_.script_path + ": " + (error.empty() ? "cannot read" : error);
      return false;
    }
    has_script_ = true;
  }
  std::string announce;
  if (options_.tcp) {
    std::string host;
    int port = 0;
    if (!split_host_port(*options_.tcp, host, port)) {
      error = "--tcp wants HOST:PORT";
      return false;
    }
    if (!gateway_listener_.open(host, port, error)) return false;
    announce += "tcp " + host + ":" + std::to_string(gateway_listener_.port()) + "\n";
  }
  if (options_.pty) {
    if (!pty_device_.open(*options_.pty == "-" ? "" : *options_.pty, error)) return false;
    pty_peer_ = std::make_unique<PeerStream>(pty_device_.take_master(), "pty");
    announce += "pty " + pty_device_.device_path() + "\n";
  }
  if (options_.control_port) {
    if (!control_listener_.open("127.0.0.1", *options_.control_port, error)) return false;
    announce += "control 127.0.0.1:" + std::to_string(control_listener_.port()) + "\n";
  }
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigprocmask(SIG_BLOCK, &signals, nullptr);
  signal_fd_ = signalfd(-1, &signals, SFD_CLOEXEC);
  std::signal(SIGPIPE, SIG_IGN);
  // A serial peer is there from the start; a network one starts the script when it connects.
  if (has_script_ && pty_peer_) script_.start(now_ms());
  if (options_.demo) demo_ = std::make_unique<DemoMode>(options_.seed, now_ms());
  transcript_.note("gateway simulator started");
  write_all(STDOUT_FILENO, announce + "ready\n");
  return true;
}

int Simulator::run() {
  while (!quit_) poll_once();
  transcript_.note("gateway simulator stopped");
  return 0;
}

std::vector<PeerStream*> Simulator::peers() {
  std::vector<PeerStream*> list;
  if (tcp_peer_) list.push_back(tcp_peer_.get());
  if (pty_peer_) list.push_back(pty_peer_.get());
  return list;
}

void Simulator::send(PeerStream& peer, const Lines& lines) {
  std::string bytes;
  for (const std::string& line : lines) {
    transcript_.line(peer.channel(), "->", line);
    bytes += line + "\r";
  }
  if (!bytes.empty() &&
      !peer.queue(std::move(bytes), now_ms() + static_cast<std::uint64_t>(faults_.slow_ms))) {
    transcript_.note(peer.channel() + " is not reading; output dropped");
  }
}

void Simulator::send_raw(PeerStream& peer, const std::string& bytes) {
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = std::min(bytes.find('\r', start), bytes.size());
    transcript_.line(peer.channel(), "->", std::string_view(bytes).substr(start, end - start));
    start = end + 1;
  }
  if (!peer.queue(bytes, now_ms() + static_cast<std::uint64_t>(faults_.slow_ms))) {
    transcript_.note(peer.channel() + " is not reading; output dropped");
  }
}

void Simulator::on_gateway_lines(PeerStream& peer, const std::vector<LineFramer::Line>& lines) {
  for (const LineFramer::Line& line : lines) {
    transcript_.line(peer.channel(), "<-", line.overlong ? "(over-long line)" : line.text);
    if (faults_.silent) continue;
    // The sign-off gets no answer, busy or not, and does not use up a busy answer.
    if (faults_.busy_replies > 0 && !is_sign_off(line.text)) {
      --faults_.busy_replies;
      send(peer, {"%BUSY"});
      continue;
    }
    send(peer,
         line.overlong ? Lines{bare_status(status::kMalformed)} : gateway_.handle_line(line.text));
  }
}

void Simulator::run_control_line(const std::string& command, int reply_fd) {
  if (command.find_first_not_of(" \t") == std::string::npos) return;
  transcript_.line("control", "<-", command);
  ControlOutcome outcome = run_control(command, gateway_, faults_);
  for (PeerStream* peer : peers()) {
    send(*peer, outcome.lines);
    if (!outcome.raw.empty()) send_raw(*peer, outcome.raw);
  }
  if (outcome.close_peer) drop_gateway_client("closed on request");
  if (outcome.quit) quit_ = true;
  transcript_.line("control", "->", outcome.response);
  if (reply_fd >= 0) write_all(reply_fd, outcome.response + "\n");
}

void Simulator::accept_gateway_client() {
  const int fd = gateway_listener_.accept_client();
  if (fd < 0) return;
  if (tcp_peer_) drop_gateway_client("replaced by a new client");
  tcp_peer_ = std::make_unique<PeerStream>(fd, "tcp");
  transcript_.note("network client connected");
  if (has_script_ && !script_.started()) script_.start(now_ms());
}

void Simulator::drop_gateway_client(const char* why) {
  if (!tcp_peer_) return;
  tcp_peer_.reset();
  transcript_.note(std::string("network client gone: ") + why);
}

void Simulator::run_timers() {
  const std::uint64_t now = now_ms();
  for (const std::string& command : script_.take_due(now)) run_control_line(command, -1);
  if (demo_) {
    for (const std::string& command : demo_->take_due(now, gateway_.model())) {
      run_control_line(command, -1);
    }
  }
}

void Simulator::poll_once() {
  run_timers();
  std::uint64_t now = now_ms();
  if (tcp_peer_ && !tcp_peer_->flush(now)) drop_gateway_client("write failed");
  if (pty_peer_ && !pty_peer_->flush(now)) transcript_.note("pty write failed");

  std::vector<pollfd> fds;
  auto watch = [&fds](int fd, short events) {
    fds.push_back({fd, events, 0});
    return fds.size() - 1;
  };
  const std::size_t signal_at = watch(signal_fd_, POLLIN);
  const std::size_t stdin_at = watch(stdin_open_ ? STDIN_FILENO : -1, POLLIN);
  const std::size_t listener_at = watch(gateway_listener_.fd(), POLLIN);
  const std::size_t control_at = watch(control_listener_.fd(), POLLIN);
  const std::size_t tcp_at =
      watch(tcp_peer_ ? tcp_peer_->fd() : -1,
            static_cast<short>(POLLIN | (tcp_peer_ && tcp_peer_->wants_write(now) ? POLLOUT : 0)));
  const std::size_t pty_at =
      watch(pty_peer_ ? pty_peer_->fd() : -1,
            static_cast<short>(POLLIN | (pty_peer_ && pty_peer_->wants_write(now) ? POLLOUT : 0)));
  const std::size_t clients_at = fds.size();
  for (const ControlClient& client : control_clients_) watch(client.fd, POLLIN);

  std::uint64_t wake = now + 1000;
  for (PeerStream* peer : peers()) wake = std::min(wake, peer->next_due().value_or(wake));
  wake = std::min(wake, script_.next_due().value_or(wake));
  if (demo_) wake = std::min(wake, demo_->next_due());
  const int timeout = wake > now ? static_cast<int>(wake - now) : 0;
  if (poll(fds.data(), fds.size(), timeout) < 0) return;

  if (fds[signal_at].revents & POLLIN) {
    transcript_.note("signal received");
    quit_ = true;
    return;
  }
  std::vector<LineFramer::Line> lines;
  if (fds[stdin_at].revents & (POLLIN | POLLHUP | POLLERR)) {
    char buffer[4096];
    const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
    if (got <= 0) {
      stdin_open_ = false;  // the gateway peers keep the simulator alive
    } else {
      stdin_framer_.feed(std::string_view(buffer, static_cast<std::size_t>(got)), lines);
      for (const LineFramer::Line& line : lines) run_control_line(line.text, STDOUT_FILENO);
    }
  }
  if (fds[listener_at].revents & POLLIN) accept_gateway_client();
  if (fds[control_at].revents & POLLIN) {
    const int fd = control_listener_.accept_client();
    if (fd >= 0) control_clients_.push_back({fd});
  }
  now = now_ms();
  if (tcp_peer_ && fds[tcp_at].fd == tcp_peer_->fd() && fds[tcp_at].revents != 0) {
    lines.clear();
    const bool alive = tcp_peer_->read_lines(lines);
    on_gateway_lines(*tcp_peer_, lines);
    if (!alive) drop_gateway_client("disconnected");
  }
  if (pty_peer_ && fds[pty_at].revents & POLLIN) {
    lines.clear();
    pty_peer_->read_lines(lines);
    on_gateway_lines(*pty_peer_, lines);
  }
  for (std::size_t i = clients_at; i < fds.size(); ++i) {
    if (fds[i].revents == 0) continue;
    const auto client = std::find_if(control_clients_.begin(), control_clients_.end(),
                                     [&](const ControlClient& c) { return c.fd == fds[i].fd; });
    if (client == control_clients_.end()) continue;
    char buffer[4096];
    const ssize_t got = recv(client->fd, buffer, sizeof buffer, 0);
    if (got <= 0) {
      close(client->fd);
      control_clients_.erase(client);
      continue;
    }
    lines.clear();
    client->framer.feed(std::string_view(buffer, static_cast<std::size_t>(got)), lines);
    const int fd = client->fd;
    for (const LineFramer::Line& line : lines) run_control_line(line.text, fd);
  }
}

}  // namespace mav::sim
