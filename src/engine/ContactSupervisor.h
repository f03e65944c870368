// The engine's watch over the gateway's signs of life: every complete line re-arms it, a
// reply time-out reports the loss (status text always, the message box and log entry once per
// loss and only while a module is known), and the 30-second keep-alive tick sends a bare "\r"
// when the gateway has been quiet for 45 seconds, and every seventh tick in any case.
#pragma once

#include <atomic>
#include <cstdint>

#include "frontend/Frontend.h"
#include "link/ContactReporter.h"
#include "link/LinkChannel.h"
#include "log/EventLog.h"
#include "model/DeviceModel.h"
#include "platform/Clock.h"
#include "trace/ProtocolTrace.h"

namespace mav {

// The event log's line that starts each episode of lost contact.
inline constexpr const char* kLostContactLogEntry = "*** Lost contact with MAV-7700";

class ContactSupervisor final : public ContactReporter {
 public:
  // The beginning of each loss is marked in trace.
  ContactSupervisor(const Clock& clock, const DeviceModel& model, EventLog& log, Frontend& frontend,
                    ProtocolTrace& trace);

  // Any thread (the worker for serial lines and time-outs, the UI thread for socket lines).
  void report_contact(bool lost) override;
  // The keep-alive timer's tick. UI thread.
  void on_keepalive_timer(LinkChannel& channel);

  // Calendar seconds of the last complete line; 0 before the first. Any thread.
  std::int64_t last_contact_time() const { return last_contact_time_.load(); }
  bool contact_lost_reported() const { return contact_lost_reported_.load(); }
  // Calendar seconds when the present loss began. Any thread.
  std::int64_t lost_since() const { return lost_since_.load(); }

 private:
  const Clock& clock_;
  const DeviceModel& model_;
  EventLog& log_;
  Frontend& frontend_;
  ProtocolTrace& trace_;
  std::atomic<std::int64_t> last_contact_time_{0};
  std::atomic<bool> contact_lost_reported_{false};
  std::atomic<std::int64_t> lost_since_{0};
  int keepalive_counter_ = 0;  // UI thread
};

}  // namespace mav
