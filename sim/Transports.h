// Where peers come from: a TCP listener (one gateway client at a time, or the control clients)
// and the pseudo-terminal that stands in for the serial cable. Single-threaded.
#pragma once

#include <string>

namespace mav::sim {

class TcpListener {
 public:
  TcpListener() = default;
  ~TcpListener();
  TcpListener(const TcpListener&) = delete;
  TcpListener& operator=(const TcpListener&) = delete;

  // Listens on an IPv4 address and port (0 picks a free port); false with `error` set.
  bool open(const std::string& host, int port, std::string& error);
  int fd() const { return fd_; }
  int port() const { return port_; }
  // A newly connected client as a non-blocking descriptor, or -1.
  int accept_client() const;

 private:
  int fd_ = -1;
  int port_ = 0;
};

class Pty {
 public:
  Pty() = default;
  ~Pty();
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;

  // Opens a pseudo-terminal in raw mode and, when link_path is not empty, puts a symbolic link
  // to its device there (replacing an old link). The gateway side keeps its own descriptor of
  // the device open, so a controller may close and reopen it. False with `error` set.
  bool open(const std::string& link_path, std::string& error);
  // The master descriptor, handed over once (non-blocking); -1 afterwards.
  int take_master();
  const std::string& device_path() const { return device_path_; }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string device_path_;
  std::string link_path_;
};

// Splits "HOST:PORT"; false when it is not of that shape.
bool split_host_port(const std::string& text, std::string& host, int& port);

}  // namespace mav::sim
