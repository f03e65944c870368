// What one telephone line dial does, apart from its window: the port it dials on, the 30 seconds
// of inactivity after which it gives up, the DIAL line it sends, and what giving up does to an
// idle two-wire line (its connection is taken back). The window shows the outcome. Any thread;
// one session is used by one thread at a time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "link/LineSender.h"
#include "log/EventLog.h"
#include "model/DeviceModel.h"
#include "platform/Clock.h"

namespace mav {

inline constexpr std::uint32_t kDialInactivityMs = 30'000;

inline constexpr const char* kLineOffHookText =
    "This LINE-7 has recently answered a call\rand is still off hook";
inline constexpr const char* kEnterNumberText = "Please enter a number to dial";
inline constexpr const char* kPhoneBookFullText = "The phone book is full";

struct DialParts {
  DeviceModel& model;
  LineSender& sender;
  EventLog& log;
  const Clock& clock;
};

enum class DialOutcome {
  Sent,           // the line was dialled; the dialog closes
  NumberMissing,  // nothing to dial; the dialog stays open
  LineBusy,       // the line is off hook: nothing sent, the dialog closes with a warning
};

class DialSession {
 public:
  // Starts the inactivity time.
  DialSession(const DialParts& parts, int port);

  int port() const { return port_; }
  // "LINE Dial on port %.2d".
  std::string caption() const;

  // The operator did something: the 30 seconds start again.
  void restart_timer();
  bool timed_out() const;

  // Dials `number` on line 1 or 2; "No Number Required" dials "!" whatever the number is.
  DialOutcome dial(std::string_view number, int line, bool no_number_required);
  // Cancel, or the 30 seconds ran out: an idle two-wire line is disconnected again. True when
  // the operator must be told the line is off hook (only when the time ran out).
  bool give_up(bool time_ran_out);

 private:
  bool line_idle(PortRecord& record) const;

  DialParts parts_;
  const int port_;
  std::uint32_t started_ms_ = 0;
};

}  // namespace mav
