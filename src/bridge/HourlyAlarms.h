// The alarms of the last hour that an overview shows beside each gateway: the episodes of lost
// contact and the replies that did not come in time. Loop thread.
#pragma once

#include <cstdint>
#include <deque>
#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>

namespace mav {

// Whether an event line is the event log's line that starts a lost-contact episode.
bool is_lost_contact_event(std::string_view line);

class HourlyAlarms {
 public:
  void lost_contact(std::uint32_t now_ms);
  // The trace's running total of reply time-outs; the rise since the last call is new alarms.
  // True when there were new ones.
  bool timeouts_total(std::uint64_t total, std::uint32_t now_ms);
  // {"lost_contact":N,"timeouts":N} over the hour up to now.
  nlohmann::ordered_json json(std::uint32_t now_ms);

 private:
  std::deque<std::uint32_t> lost_contacts_;
  std::deque<std::uint32_t> timeouts_;
  std::optional<std::uint64_t> timeouts_seen_;
};

}  // namespace mav
