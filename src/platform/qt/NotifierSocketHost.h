// The Qt event loop's watch over the network socket and the channel's connection timer: socket
// notifiers and timers that call the core's SocketEvents on the UI thread.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <map>
#include <memory>

#include "platform/SocketEvents.h"

namespace mav {

class NotifierSocketHost final : public SocketEventHost {
 public:
  explicit NotifierSocketHost(SocketEvents& events) : events_(events) {}

  void watch_socket(int fd) override;
  void unwatch_socket() override;
  void start_timer(int timer_id, std::uint32_t interval_ms) override;
  void kill_timer(int timer_id) override;

 private:
  void on_socket_writable();
  void on_socket_readable();

  SocketEvents& events_;
  QObject context_;  // the receiver of the notifiers' and timers' signals
  std::map<int, std::unique_ptr<QTimer>> timers_;
  std::unique_ptr<QSocketNotifier> socket_read_;
  std::unique_ptr<QSocketNotifier> socket_write_;
};

}  // namespace mav
