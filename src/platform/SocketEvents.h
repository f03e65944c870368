// How a network channel's socket readiness and its connection timer reach the core. The UI
// thread's event machinery (the Qt shell's notifiers and timers, or the event loop when headless)
// implements SocketEventHost and calls the SocketEvents entry points, all on the UI thread.
#pragma once

#include <cstdint>

namespace mav {

// The notifications a network channel acts on. A readiness event that carries an error is
// never delivered: the connection timer reports a connect that failed.
class SocketEvents {
 public:
  virtual ~SocketEvents() = default;
  virtual void on_socket_read() = 0;       // data waits on the socket
  virtual void on_socket_connected() = 0;  // the connect under way completed
  virtual void on_socket_closed() = 0;     // the peer closed the connection
  virtual void on_connect_timeout() = 0;   // the connection timer fired
  // The connect under way failed at once (refused), before the connection timer.
  virtual void on_connect_refused() {}
};

// What the channel asks of the UI thread's event machinery. UI thread only.
class SocketEventHost {
 public:
  virtual ~SocketEventHost() = default;
  // Deliver the connect completion (once), reads and the peer's close of this socket until
  // unwatch_socket or the next watch_socket.
  virtual void watch_socket(int fd) = 0;
  virtual void unwatch_socket() = 0;
  // A repeating timer: on_connect_timeout every interval_ms until killed. A second start of a
  // running timer restarts it.
  virtual void start_timer(int timer_id, std::uint32_t interval_ms) = 0;
  virtual void kill_timer(int timer_id) = 0;
};

}  // namespace mav
