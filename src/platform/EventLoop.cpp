#include "platform/EventLoop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

#include "platform/NextWake.h"
#include "platform/SocketReadiness.h"

namespace mav {

EventLoop::EventLoop(const Clock& clock, SocketEvents* events)
    : clock_(clock), wake_fd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)), socket_events_(events) {}

EventLoop::~EventLoop() {
  if (wake_fd_ >= 0) ::close(wake_fd_);
}

void EventLoop::watch(int fd, short events, FdCallback on_ready) {
  if (fd < 0) return;
  watches_[fd] =
      Watch{events, next_generation_++, std::make_shared<FdCallback>(std::move(on_ready))};
}

void EventLoop::set_events(int fd, short events) {
  const auto found = watches_.find(fd);
  if (found != watches_.end()) found->second.events = events;
}

void EventLoop::unwatch(int fd) {
  watches_.erase(fd);
}

int EventLoop::add_timer(std::uint32_t interval_ms, bool repeat, Callback on_due) {
  const int id = next_timer_id_++;
  timers_[id] =
      Timer{clock_.now_ms(), interval_ms, repeat, std::make_shared<Callback>(std::move(on_due))};
  return id;
}

void EventLoop::cancel_timer(int timer_id) {
  timers_.erase(timer_id);
}

void EventLoop::post(Callback fn) {
  {
    std::lock_guard lock(posted_mutex_);
    posted_.push_back(std::move(fn));
  }
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t ignored = ::write(wake_fd_, &one, sizeof one);
}

void EventLoop::stop() {
  stopping_ = true;
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t ignored = ::write(wake_fd_, &one, sizeof one);
}

void EventLoop::run() {
  while (!stopping_.exchange(false)) run_once(std::nullopt);
}

std::map<int, short> EventLoop::watched() const {
  std::map<int, short> fds;
  for (const auto& [fd, watch] : watches_) fds.emplace(fd, watch.events);
  return fds;
}

std::optional<std::uint32_t> EventLoop::timer_wait() const {
  NextWake next(clock_.now_ms());
  for (const auto& [id, timer] : timers_) next.after(timer.since, timer.interval_ms);
  return next.wait_ms();
}

void EventLoop::run_once(std::optional<std::uint32_t> max_wait_ms) {
  std::optional<std::uint32_t> wait = timer_wait();
  if (max_wait_ms && (!wait || *max_wait_ms < *wait)) wait = max_wait_ms;

  std::vector<pollfd> polled{{wake_fd_, POLLIN, 0}};
  std::vector<std::uint64_t> generations{0};
  for (const auto& [fd, watched] : watches_) {
    polled.push_back({fd, watched.events, 0});
    generations.push_back(watched.generation);
  }
  const int timeout = wait ? static_cast<int>(std::min<std::uint32_t>(*wait, 1u << 30)) : -1;
  if (::poll(polled.data(), polled.size(), timeout) > 0) {
    if (polled[0].revents & POLLIN) {
      std::uint64_t count = 0;
      [[maybe_unused]] const ssize_t ignored = ::read(wake_fd_, &count, sizeof count);
    }
    run_posted();
    for (std::size_t i = 1; i < polled.size(); ++i) {
      if (polled[i].revents == 0) continue;
      // A callback before this one may have dropped or replaced the watch.
      const auto found = watches_.find(polled[i].fd);
      if (found == watches_.end() || found->second.generation != generations[i]) continue;
      const std::shared_ptr<FdCallback> on_ready = found->second.on_ready;
      (*on_ready)(polled[i].revents);
    }
  }
  run_due_timers();
}

void EventLoop::run_posted() {
  std::vector<Callback> work;
  {
    std::lock_guard lock(posted_mutex_);
    work.swap(posted_);
  }
  for (auto& fn : work) fn();
}

void EventLoop::run_due_timers() {
  const std::uint32_t now = clock_.now_ms();
  std::vector<int> due;
  for (const auto& [id, timer] : timers_) {
    if (has_passed(now, timer.since, timer.interval_ms)) due.push_back(id);
  }
  for (int id : due) {
    const auto found = timers_.find(id);
    if (found == timers_.end()) continue;  // cancelled by a timer that acted before it
    const std::shared_ptr<Callback> on_due = found->second.on_due;
    if (found->second.repeat) {
      found->second.since = now;
    } else {
      timers_.erase(found);
    }
    (*on_due)();
  }
}

void EventLoop::watch_socket(int fd) {
  unwatch_socket();
  socket_fd_ = fd;
  awaiting_connect_ = true;
  watch(fd, POLLOUT, [this](short revents) { on_channel_socket(revents); });
}

void EventLoop::unwatch_socket() {
  if (socket_fd_ >= 0) unwatch(socket_fd_);
  socket_fd_ = -1;
  awaiting_connect_ = false;
}

void EventLoop::on_channel_socket(short revents) {
  if (socket_events_ == nullptr) return;
  if (awaiting_connect_) {
    // Writable (or failed) once: the connect has an outcome. A failed socket would report
    // itself ready forever, so it leaves the watch.
    awaiting_connect_ = false;
    if (!connect_succeeded(socket_fd_)) {
      unwatch_socket();
      socket_events_->on_connect_refused();
      return;
    }
    set_events(socket_fd_, POLLIN);
    socket_events_->on_socket_connected();
    return;
  }
  if ((revents & (POLLIN | POLLHUP | POLLERR)) == 0) return;
  switch (probe_readable(socket_fd_)) {
    case ReadReadiness::Data:
      socket_events_->on_socket_read();
      return;
    case ReadReadiness::PeerClosed:
      unwatch_socket();  // closed once; whatever the handler does, nothing more is reported
      socket_events_->on_socket_closed();
      return;
    case ReadReadiness::Broken:
      unwatch_socket();  // a broken connection keeps polling ready with nothing to read
      return;
    case ReadReadiness::Nothing:
      return;
  }
}

void EventLoop::start_timer(int timer_id, std::uint32_t interval_ms) {
  kill_timer(timer_id);
  // The channel's timer acts once its whole interval has passed, as the shell's timers do.
  const std::uint32_t acts_after = interval_ms > 0 ? interval_ms - 1 : 0;
  channel_timers_[timer_id] = add_timer(acts_after, true, [this] {
    if (socket_events_ != nullptr) socket_events_->on_connect_timeout();
  });
}

void EventLoop::kill_timer(int timer_id) {
  const auto found = channel_timers_.find(timer_id);
  if (found == channel_timers_.end()) return;
  cancel_timer(found->second);
  channel_timers_.erase(found);
}

}  // namespace mav
