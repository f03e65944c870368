#include "platform/qt/EventLoopDriver.h"

#include <poll.h>

#include <algorithm>

namespace mav {

EventLoopDriver::EventLoopDriver(EventLoop& loop) : loop_(loop) {
  timer_.setSingleShot(true);
  // A coarse timer may act early; the loop would find nothing due and be woken again at once.
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, &context_, [this] { pass(); });
  follow(loop_.wake_fd(), POLLIN);
  refresh();
}

void EventLoopDriver::pass() {
  if (in_pass_) return;  // a pass that waits on Qt's loop finishes before the next
  in_pass_ = true;
  loop_.run_once(0);
  in_pass_ = false;
  refresh();
}

void EventLoopDriver::refresh() {
  const std::map<int, short> watched = loop_.watched();
  for (auto it = notifiers_.begin(); it != notifiers_.end();) {
    const auto found = watched.find(it->first);
    if (it->first == loop_.wake_fd() ||
        (found != watched.end() && found->second == it->second.events)) {
      ++it;
      continue;
    }
    drop(it->second);
    it = notifiers_.erase(it);
  }
  for (const auto& [fd, events] : watched) {
    if (!notifiers_.contains(fd)) follow(fd, events);
  }
  if (const auto wait = loop_.timer_wait()) {
    timer_.start(static_cast<int>(std::min<std::uint32_t>(*wait, 1u << 30)));
  } else {
    timer_.stop();
  }
}

void EventLoopDriver::follow(int fd, short events) {
  Notifiers& notifiers = notifiers_[fd];
  notifiers.events = events;
  // A hang-up or an error makes the notifiers act too; the pass's own poll tells which.
  if (events & POLLIN) {
    notifiers.read = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(notifiers.read.get(), &QSocketNotifier::activated, &context_,
                     [this] { pass(); });
  }
  if (events & POLLOUT) {
    notifiers.write = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
    QObject::connect(notifiers.write.get(), &QSocketNotifier::activated, &context_,
                     [this] { pass(); });
  }
}

void EventLoopDriver::drop(Notifiers& notifiers) {
  // A notifier may be dropped from inside its own signal: it goes later.
  for (QSocketNotifier* notifier : {notifiers.read.release(), notifiers.write.release()}) {
    if (!notifier) continue;
    notifier->setEnabled(false);
    notifier->deleteLater();
  }
}

}  // namespace mav
