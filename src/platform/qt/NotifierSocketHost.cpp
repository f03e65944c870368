#include "platform/qt/NotifierSocketHost.h"

#include "platform/SocketReadiness.h"

namespace mav {

void NotifierSocketHost::watch_socket(int fd) {
  unwatch_socket();
  // Readiness to write reports the connect's end; reading starts once the connect succeeded.
  socket_write_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
  socket_read_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  socket_read_->setEnabled(false);
  QObject::connect(socket_write_.get(), &QSocketNotifier::activated, &context_,
                   [this] { on_socket_writable(); });
  QObject::connect(socket_read_.get(), &QSocketNotifier::activated, &context_,
                   [this] { on_socket_readable(); });
}

void NotifierSocketHost::unwatch_socket() {
  // The channel may close from inside a notifier's own signal: the notifiers go later.
  for (QSocketNotifier* notifier : {socket_read_.release(), socket_write_.release()}) {
    if (!notifier) continue;
    notifier->setEnabled(false);
    notifier->deleteLater();
  }
}

void NotifierSocketHost::on_socket_writable() {
  const int fd = static_cast<int>(socket_write_->socket());
  socket_write_->setEnabled(false);
  if (!connect_succeeded(fd)) {
    events_.on_connect_refused();
    return;
  }
  socket_read_->setEnabled(true);
  events_.on_socket_connected();
}

void NotifierSocketHost::on_socket_readable() {
  switch (probe_readable(static_cast<int>(socket_read_->socket()))) {
    case ReadReadiness::Data:
      events_.on_socket_read();
      return;
    case ReadReadiness::PeerClosed:
      socket_read_->setEnabled(false);
      events_.on_socket_closed();
      return;
    case ReadReadiness::Broken:
      socket_read_->setEnabled(false);
      return;
    case ReadReadiness::Nothing:
      return;
  }
}

void NotifierSocketHost::start_timer(int timer_id, std::uint32_t interval_ms) {
  auto& timer = timers_[timer_id];
  if (!timer) {
    timer = std::make_unique<QTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, &context_,
                     [this] { events_.on_connect_timeout(); });
  }
  timer->start(static_cast<int>(interval_ms));
}

void NotifierSocketHost::kill_timer(int timer_id) {
  const auto found = timers_.find(timer_id);
  if (found != timers_.end()) found->second->stop();
}

}  // namespace mav
