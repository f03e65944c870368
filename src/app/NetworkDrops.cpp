// The network socket's notifications, and the retries after the gateway closed the connection.
#include "app/Application.h"

#include <cstdio>

#include "app/WindowTitles.h"

namespace mav {

void Application::on_socket_read() {
  link_.on_socket_read();
}

void Application::on_socket_connected() {
  link_.on_socket_connected();
  if (!reconnect_.active()) return;
  char entry[64];
  std::snprintf(entry, sizeof entry, "Network connection restored at attempt %d",
                reconnect_.attempt());
  log_.write_log_entry(entry);
  stop_reconnecting();
}

void Application::on_connect_timeout() {
  if (reconnect_.active() && link_.is_open() && !link_.is_ready()) {
    reconnect_failed();
    return;
  }
  link_.on_connect_timeout();
}

void Application::on_connect_refused() {
  // Otherwise the connection timer reports it, 15.5 s after the open.
  if (reconnect_.active() && link_.is_open() && !link_.is_ready()) reconnect_failed();
}

void Application::on_socket_closed() {
  if (link_.is_open()) save_site_record();
  link_.on_socket_closed();
  link_.trace().mark(TraceMark::Reconnect, "Reconnecting to the same site");
  reconnect_.begin();
  reconnect_now();
}

void Application::on_reconnect_timer() {
  if (reconnect_.active()) reconnect_now();
}

void Application::reconnect_now() {
  // Every attempt opens and closes the socket; the log keeps only the first failure and the
  // recovery.
  link_.set_quiet(reconnect_.attempt() > 1);
  if (const auto site = run_site()) {
    open_site(*site);
  } else {
    open_connection(prefs_.get().selected_site);
  }
  if (!link_.is_open()) reconnect_failed();
}

void Application::reconnect_failed() {
  if (link_.is_open()) link_.close();
  const std::uint32_t pause_ms = reconnect_.failed();
  if (reconnect_.first_failure()) {
    log_.write_log_entry("Network reconnection failed, retrying until the gateway answers");
  }
  set_title(kNotConnectedTitle);
  if (window_) window_->start_reconnect_timer(pause_ms);
  frontend_.link_state_changed();
}

void Application::stop_reconnecting() {
  if (!reconnect_.active()) return;
  reconnect_.stop();
  link_.set_quiet(false);
  if (window_) window_->stop_reconnect_timer();
  frontend_.link_state_changed();
}

}  // namespace mav
