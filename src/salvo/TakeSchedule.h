// The takes waiting for their time, kept in a file of the program directory so a restart of the
// host keeps them. The store has no timer: the host's loop asks it what is due, with its clock,
// and may ask when the next take falls to time its wake-up. One thread at a time.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/Clock.h"

namespace mav {

inline constexpr const char* kScheduleFileName = "ScheduledTakes.json";

struct ScheduledTake {
  int id = 0;
  std::string salvo;
  std::int64_t when_ms = 0;  // calendar milliseconds
  std::string by{};          // the client that scheduled it, whose take it is
  bool operator==(const ScheduledTake&) const = default;
};

class TakeSchedule {
 public:
  // Reads the file; a missing or damaged one is an empty schedule, and damaged entries are
  // dropped.
  explicit TakeSchedule(std::filesystem::path program_directory);

  // The new take's id, or nothing (the schedule unchanged) when the file cannot be written.
  std::optional<int> add(std::string salvo, std::int64_t when_ms, std::string by = {});
  bool cancel(int id);
  // Earliest first.
  const std::vector<ScheduledTake>& list() const { return takes_; }
  std::optional<std::int64_t> next_time() const;
  // The takes whose time has come, earliest first, removed from the schedule.
  std::vector<ScheduledTake> take_due(const Clock& clock);

 private:
  bool save(const std::vector<ScheduledTake>& takes, int next_id) const;

  std::filesystem::path file_;
  std::vector<ScheduledTake> takes_;
  int next_id_ = 1;
};

}  // namespace mav
