#include "platform/PollPump.h"

#include <poll.h>

#include "platform/SocketReadiness.h"

namespace mav {

PollPump::PollPump(const Clock& clock, SocketEvents& events) : clock_(clock), events_(events) {}

void PollPump::watch_socket(int fd) {
  fd_ = fd;
  awaiting_connect_ = true;
}

void PollPump::unwatch_socket() {
  fd_ = -1;
  awaiting_connect_ = false;
}

void PollPump::start_timer(int timer_id, std::uint32_t interval_ms) {
  timer_id_ = timer_id;
  timer_interval_ms_ = interval_ms;
  timer_started_ms_ = clock_.now_ms();
}

void PollPump::kill_timer(int timer_id) {
  if (timer_id == timer_id_) timer_id_ = 0;
}

void PollPump::run_once(int wait_ms) {
  if (fd_ >= 0) {
    pollfd watched{fd_, static_cast<short>(awaiting_connect_ ? POLLOUT : POLLIN), 0};
    if (poll(&watched, 1, wait_ms) > 0) deliver_socket_events(watched.revents);
  } else if (wait_ms > 0) {
    poll(nullptr, 0, wait_ms);
  }
  fire_due_timer();
}

void PollPump::deliver_socket_events(short revents) {
  if (awaiting_connect_) {
    // Writable (or failed) once: the connect has an outcome. A failed socket would report
    // itself ready forever, so it leaves the watch.
    awaiting_connect_ = false;
    if (!connect_succeeded(fd_)) {
      fd_ = -1;
      events_.on_connect_refused();
      return;
    }
    events_.on_socket_connected();
    return;
  }
  if ((revents & (POLLIN | POLLHUP | POLLERR)) == 0) return;
  switch (probe_readable(fd_)) {
    case ReadReadiness::Data:
      events_.on_socket_read();
      return;
    case ReadReadiness::PeerClosed:
      fd_ = -1;  // closed once; whatever the handler does, the socket reports nothing more
      events_.on_socket_closed();
      return;
    case ReadReadiness::Broken:
      fd_ = -1;  // a broken connection keeps polling ready with nothing to read
      return;
    case ReadReadiness::Nothing:
      return;
  }
}

void PollPump::fire_due_timer() {
  if (timer_id_ == 0 || clock_.now_ms() - timer_started_ms_ < timer_interval_ms_) return;
  timer_started_ms_ = clock_.now_ms();
  events_.on_connect_timeout();
}

}  // namespace mav
