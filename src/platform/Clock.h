// Time sources of the core. The link paces and times out on a 32-bit millisecond clock that wraps
// like the gateway link always has; contact supervision uses calendar seconds; log entries carry
// the local date and time. Tests substitute a clock they can set.
#pragma once

#include <cstdint>

namespace mav {

struct LocalTime {
  int year = 0;    // four digits
  int month = 0;   // 1-12
  int day = 0;     // 1-31
  int hour = 0;    // 0-23
  int minute = 0;  // 0-59
  int second = 0;  // 0-60
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds of a steady clock, truncated to 32 bits; differences are taken unsigned.
  virtual std::uint32_t now_ms() const = 0;
  // Seconds of the calendar clock.
  virtual std::int64_t now_seconds() const = 0;
  // Milliseconds of the calendar clock, for what must happen at a wall-clock time to well within
  // a second; a clock that only counts seconds answers their start.
  virtual std::int64_t now_calendar_ms() const { return now_seconds() * 1000; }
  // The local calendar time of now.
  virtual LocalTime local_time() const = 0;
};

// The real clocks. Any thread.
class SystemClock final : public Clock {
 public:
  std::uint32_t now_ms() const override;
  std::int64_t now_seconds() const override;
  std::int64_t now_calendar_ms() const override;
  LocalTime local_time() const override;
};

}  // namespace mav
