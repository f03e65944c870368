#include "engine/ContactSupervisor.h"

namespace mav {
namespace {

constexpr int kTicksBetweenKeepAlives = 6;  // every seventh 30-second tick: 210 s
constexpr std::int64_t kQuietSeconds = 45;  // silence that earns an extra keep-alive
constexpr const char* kLostContactBox = "The MAV Controller has lost contact\rwith the MAV-7700";

}  // namespace

ContactSupervisor::ContactSupervisor(const Clock& clock, const DeviceModel& model, EventLog& log,
                                     Frontend& frontend, ProtocolTrace& trace)
    : clock_(clock), model_(model), log_(log), frontend_(frontend), trace_(trace) {}

void ContactSupervisor::report_contact(bool lost) {
  if (!lost) {
    last_contact_time_ = clock_.now_seconds();
    if (contact_lost_reported_.exchange(false)) {
      frontend_.link_state_changed();
      frontend_.withdraw_message_box(kLostContactBox);
    }
    frontend_.show_message("");
    return;
  }
  frontend_.show_message("Lost contact with MAV-7700");
  if (!contact_lost_reported_.load()) lost_since_ = clock_.now_seconds();
  const bool already_reported = contact_lost_reported_.exchange(true);
  if (!already_reported) {
    frontend_.link_state_changed();
    trace_.mark(TraceMark::LostContact, "Lost contact with MAV-7700");
  }
  if (already_reported || model_.CountModules() == 0) return;
  frontend_.show_message_box(
      MessageBoxRequest{kLostContactBox, "MAV Controller", MessageIcon::Exclamation, true});
  log_.write_log_entry(kLostContactLogEntry);
}

void ContactSupervisor::on_keepalive_timer(LinkChannel& channel) {
  if (++keepalive_counter_ > kTicksBetweenKeepAlives) {
    keepalive_counter_ = 0;
    if (channel.is_ready()) channel.send_line("\r", true);
  }
  if (clock_.now_seconds() - last_contact_time_ < kQuietSeconds) return;
  const bool usable = channel.is_network() ? channel.is_ready() : channel.is_open();
  if (usable) channel.send_line("\r", true);
}

}  // namespace mav
