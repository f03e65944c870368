#include "engine/LinkKeeper.h"

#include <cstdio>

namespace mav {

LinkKeeper::LinkKeeper(LinkKeeperParts parts) : p_(std::move(parts)) {}

void LinkKeeper::on_socket_read() {
  p_.link.on_socket_read();
}

void LinkKeeper::on_socket_connected() {
  p_.link.on_socket_connected();
  if (!reconnect_.active()) return;
  char entry[64];
  std::snprintf(entry, sizeof entry, "Network connection restored at attempt %d",
                reconnect_.attempt());
  p_.log.write_log_entry(entry);
  stop_reconnecting();
}

void LinkKeeper::on_connect_timeout() {
  if (reconnect_.active() && p_.link.is_open() && !p_.link.is_ready()) {
    reconnect_failed();
    return;
  }
  p_.link.on_connect_timeout();
}

void LinkKeeper::on_connect_refused() {
  if (reconnect_.active() && p_.link.is_open() && !p_.link.is_ready()) reconnect_failed();
}

void LinkKeeper::on_socket_closed() {
  if (p_.link.is_open() && hooks_) hooks_->connection_dropped();
  p_.link.on_socket_closed();
  p_.link.trace().mark(TraceMark::Reconnect, "Reconnecting to the same site");
  reconnect_.begin();
  reconnect_now();
}

void LinkKeeper::reconnect_now() {
  // Every attempt opens and closes the socket; the log keeps only the first failure and the
  // recovery.
  p_.link.set_quiet(reconnect_.attempt() > 1);
  if (hooks_) hooks_->reopen_connection();
  if (!p_.link.is_open()) reconnect_failed();
}

void LinkKeeper::reconnect_failed() {
  if (p_.link.is_open()) p_.link.close();
  const std::uint32_t pause_ms = reconnect_.failed();
  if (reconnect_.first_failure()) {
    p_.log.write_log_entry("Network reconnection failed, retrying until the gateway answers");
  }
  if (hooks_) hooks_->reconnect_failed();
  const std::uint64_t pause = ++retry_pauses_;
  pause_running_ = true;
  retry_due_ms_ = p_.clock.now_ms() + pause_ms;
  p_.run_later(std::chrono::milliseconds(pause_ms), [this, pause] {
    if (pause != retry_pauses_ || !reconnect_.active()) return;
    pause_running_ = false;
    reconnect_now();
  });
  p_.frontend.link_state_changed();
}

std::uint32_t LinkKeeper::next_attempt_in_ms() const {
  if (!pause_running_) return 0;
  // The clock's milliseconds wrap; past due but not yet run counts as 0.
  const auto left = static_cast<std::int32_t>(retry_due_ms_ - p_.clock.now_ms());
  return left > 0 ? static_cast<std::uint32_t>(left) : 0;
}

void LinkKeeper::stop_reconnecting() {
  if (!reconnect_.active()) return;
  reconnect_.stop();
  ++retry_pauses_;
  pause_running_ = false;
  p_.link.set_quiet(false);
  p_.frontend.link_state_changed();
}

void LinkKeeper::start_keepalive() {
  keepalive_tick(++keepalive_runs_);
}

void LinkKeeper::keepalive_tick(std::uint64_t run) {
  p_.run_later(std::chrono::milliseconds(kKeepAliveIntervalMs), [this, run] {
    if (run != keepalive_runs_) return;
    p_.contact.on_keepalive_timer(p_.link);
    keepalive_tick(run);
  });
}

}  // namespace mav
