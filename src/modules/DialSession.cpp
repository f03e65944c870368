#include "modules/DialSession.h"

#include <cstdio>

namespace mav {

DialSession::DialSession(const DialParts& parts, int port) : parts_(parts), port_(port) {
  restart_timer();
}

std::string DialSession::caption() const {
  char text[32];
  std::snprintf(text, sizeof text, "LINE Dial on port %.2d", port_);
  return text;
}

void DialSession::restart_timer() {
  started_ms_ = parts_.clock.now_ms();
}

bool DialSession::timed_out() const {
  return parts_.clock.now_ms() - started_ms_ >= kDialInactivityMs;
}

bool DialSession::line_idle(PortRecord& record) const {
  return parts_.model.GetPort(port_, record) && record.settings.on_hook != 0;
}

DialOutcome DialSession::dial(std::string_view number, int line, bool no_number_required) {
  PortRecord record;
  if (!line_idle(record)) return DialOutcome::LineBusy;
  if (number.empty() && !no_number_required) return DialOutcome::NumberMissing;
  const std::string dialled = no_number_required ? "!" : std::string(number);
  char port_text[8];
  std::snprintf(port_text, sizeof port_text, "%.2d", port_);
  const std::string line_text = line == 2 ? "2" : "1";
  parts_.sender.send_line("DIAL " + std::string(port_text) + " " + dialled + " " + line_text + "\r",
                          true);
  parts_.log.write_log_entry(std::string(port_text) + " dialed " + dialled + " on line " +
                             line_text);
  return DialOutcome::Sent;
}

bool DialSession::give_up(bool time_ran_out) {
  PortRecord record;
  if (!line_idle(record)) return time_ran_out;
  if (record.settings.two_w_four_w == 0) {
    // Stored first: the worker may handle the gateway's answer before send_line returns.
    parts_.model.Update(port_, [](PortRecord& q) { q.disch_step = 9; });
    char line[16];
    std::snprintf(line, sizeof line, "DISC_S %.2d\r", port_);
    parts_.sender.send_line(line, true);
  }
  return false;
}

}  // namespace mav
