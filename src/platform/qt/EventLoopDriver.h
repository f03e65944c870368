// Runs an EventLoop's passes from the Qt event loop on the UI thread, so what the loop calls
// shares the thread with the window: a notifier for the loop's wake-up descriptor and for each
// descriptor it watches, and one timer for its earliest timer. Nothing runs while nothing
// happens. UI thread.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <map>
#include <memory>

#include "platform/EventLoop.h"

namespace mav {

class EventLoopDriver {
 public:
  explicit EventLoopDriver(EventLoop& loop);
  EventLoopDriver(const EventLoopDriver&) = delete;
  EventLoopDriver& operator=(const EventLoopDriver&) = delete;

  // Follows the loop's descriptors and timers anew; call after changing them outside a pass.
  void refresh();

 private:
  struct Notifiers {
    short events = 0;
    std::unique_ptr<QSocketNotifier> read;
    std::unique_ptr<QSocketNotifier> write;
  };

  void pass();
  void follow(int fd, short events);
  void drop(Notifiers& notifiers);

  EventLoop& loop_;
  QObject context_;  // the receiver of the notifiers' and the timer's signals
  QTimer timer_;
  std::map<int, Notifiers> notifiers_;
  bool in_pass_ = false;
};

}  // namespace mav
