#include "bridge/HourlyAlarms.h"

#include "engine/ContactSupervisor.h"

namespace mav {
namespace {

constexpr std::uint32_t kHourMs = 3600 * 1000;

std::size_t within_hour(std::deque<std::uint32_t>& times, std::uint32_t now_ms) {
  while (!times.empty() && now_ms - times.front() >= kHourMs) times.pop_front();
  return times.size();
}

}  // namespace

bool is_lost_contact_event(std::string_view line) {
  return line.find(std::string(R"("log":")") + kLostContactLogEntry + '"') !=
         std::string_view::npos;
}

void HourlyAlarms::lost_contact(std::uint32_t now_ms) {
  lost_contacts_.push_back(now_ms);
}

bool HourlyAlarms::timeouts_total(std::uint64_t total, std::uint32_t now_ms) {
  // The first figure is what happened before anyone watched; it is no new alarm.
  if (!timeouts_seen_) timeouts_seen_ = total;
  const bool risen = total > *timeouts_seen_;
  for (; *timeouts_seen_ < total; ++*timeouts_seen_) timeouts_.push_back(now_ms);
  return risen;
}

nlohmann::ordered_json HourlyAlarms::json(std::uint32_t now_ms) {
  return {{"lost_contact", within_hour(lost_contacts_, now_ms)},
          {"timeouts", within_hour(timeouts_, now_ms)}};
}

}  // namespace mav
