// The simulator program run as a child process, and line-oriented connections to it: the tests
// talk to the real executable over loopback TCP, its control port and its pseudo-terminal.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace mav::sim::test {

inline constexpr std::chrono::milliseconds kDeadline{10000};

// A descriptor read line by line with a deadline.
class LineChannel {
 public:
  LineChannel(int fd, char terminator) : fd_(fd), terminator_(terminator) {}
  ~LineChannel() {
    if (fd_ >= 0) close(fd_);
  }
  LineChannel(const LineChannel&) = delete;
  LineChannel& operator=(const LineChannel&) = delete;

  // Short lines only: one write takes them whole.
  void send(const std::string& bytes) const {
    if (write(fd_, bytes.data(), bytes.size()) < 0) return;
  }

  // The next line without its terminator; nothing on end of stream or at the deadline.
  std::optional<std::string> read_line(std::chrono::milliseconds deadline = kDeadline) {
    const auto until = std::chrono::steady_clock::now() + deadline;
    for (;;) {
      const std::size_t end = buffer_.find(terminator_);
      if (end != std::string::npos) {
        std::string line = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        return line;
      }
      if (!fill(until)) return std::nullopt;
    }
  }

  // True when the far end closes the stream before the deadline (data before that is dropped).
  bool closed_by_peer() {
    const auto until = std::chrono::steady_clock::now() + kDeadline;
    while (fill(until)) buffer_.clear();
    return eof_;
  }

 private:
  bool fill(std::chrono::steady_clock::time_point until) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        until - std::chrono::steady_clock::now());
    if (left.count() <= 0 || eof_) return false;
    pollfd watch{fd_, POLLIN, 0};
    if (poll(&watch, 1, static_cast<int>(left.count())) <= 0) return false;
    char chunk[65536];
    const ssize_t got = read(fd_, chunk, sizeof chunk);
    if (got <= 0) {
      eof_ = true;
      return false;
    }
    buffer_.append(chunk, static_cast<std::size_t>(got));
    return true;
  }

  int fd_;
  char terminator_;
  std::string buffer_;
  bool eof_ = false;
};

inline int connect_loopback(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

class SimProcess {
 public:
  // Starts the simulator with the arguments; stdin is a pipe the test may write to or close.
  bool start(std::vector<std::string> args) {
    int out[2], in[2];
    if (pipe(out) != 0 || pipe(in) != 0) return false;
    std::string program = MAV_SIM_PATH;
    std::vector<char*> argv{program.data()};
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], STDIN_FILENO);
      dup2(out[1], STDOUT_FILENO);
      close(in[1]);
      close(out[0]);
      execv(program.c_str(), argv.data());
      _exit(127);
    }
    close(in[0]);
    close(out[1]);
    stdin_fd_ = in[1];
    stdout_ = std::make_unique<LineChannel>(out[0], '\n');
    // It announces "tcp HOST:PORT", "control HOST:PORT" and "pty DEVICE", then "ready".
    while (std::optional<std::string> line = stdout_->read_line()) {
      if (*line == "ready") return true;
      const std::size_t colon = line->rfind(':');
      if (line->starts_with("tcp ")) tcp_port = std::stoi(line->substr(colon + 1));
      if (line->starts_with("control ")) control_port = std::stoi(line->substr(colon + 1));
      if (line->starts_with("pty ")) pty_device = line->substr(4);
    }
    return false;
  }

  ~SimProcess() {
    if (pid_ > 0) terminate();
    if (stdin_fd_ >= 0) close(stdin_fd_);
  }

  // SIGTERM, then the exit status (-1 when it did not exit normally).
  int terminate() {
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  void write_stdin(const std::string& text) const {
    if (write(stdin_fd_, text.data(), text.size()) < 0) return;
  }
  void close_stdin() {
    close(stdin_fd_);
    stdin_fd_ = -1;
  }
  LineChannel& stdout_lines() { return *stdout_; }

  // Runs a control command over a fresh control connection and returns its answer.
  std::string control(const std::string& command) const {
    LineChannel channel(connect_loopback(control_port), '\n');
    channel.send(command + "\n");
    return channel.read_line().value_or("(no answer)");
  }

  int tcp_port = -1;
  int control_port = -1;
  std::string pty_device;

 private:
  pid_t pid_ = -1;
  int stdin_fd_ = -1;
  std::unique_ptr<LineChannel> stdout_;
};

}  // namespace mav::sim::test
