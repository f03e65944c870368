// The headless carrier of the UI thread's socket notifications and connection timer: one poll()
// of the watched socket per step, then the timers, timed on the given clock so a test's fake clock
// decides when the connection timer fires. Everything here runs on the thread that owns the pump,
// which stands in for the UI thread.
#pragma once

#include <cstdint>

#include "platform/Clock.h"
#include "platform/SocketEvents.h"

namespace mav {

class PollPump final : public SocketEventHost {
 public:
  PollPump(const Clock& clock, SocketEvents& events);

  void watch_socket(int fd) override;
  void unwatch_socket() override;
  void start_timer(int timer_id, std::uint32_t interval_ms) override;
  void kill_timer(int timer_id) override;

  // Waits up to wait_ms for the watched socket, delivers what it became ready for, then fires a
  // due timer. A socket whose connect failed is dropped from the watch, as is one the peer closed.
  void run_once(int wait_ms);
  // A socket is being watched (false once its connect failed or its peer closed it).
  bool watching() const { return fd_ >= 0; }

 private:
  void deliver_socket_events(short revents);
  void fire_due_timer();

  const Clock& clock_;
  SocketEvents& events_;
  int fd_ = -1;
  bool awaiting_connect_ = false;
  int timer_id_ = 0;  // 0: no timer runs
  std::uint32_t timer_interval_ms_ = 0;
  std::uint32_t timer_started_ms_ = 0;
};

}  // namespace mav
