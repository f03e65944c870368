// When the worker thread next has something to do. Every timer of the core acts once more than its
// interval has passed since a moment on the wrapping millisecond clock; the timer's check and its
// wake-up come from the same rule here, so the worker never wakes early and never oversleeps.
#pragma once

#include <cstdint>
#include <optional>

namespace mav {

// More than interval_ms have passed from since to now (unsigned difference, so a clock wrap in
// between still counts the elapsed time).
constexpr bool has_passed(std::uint32_t now, std::uint32_t since, std::uint32_t interval_ms) {
  return now - since > interval_ms;
}

// Collects the pending timers of one moment and yields how long to wait for the earliest.
class NextWake {
 public:
  explicit NextWake(std::uint32_t now) : now_(now) {}

  std::uint32_t now() const { return now_; }
  // A timer that acts once more than interval_ms have passed since `since`.
  void after(std::uint32_t since, std::uint32_t interval_ms);
  // Something to do again delay_ms from now (0: at once).
  void in(std::uint32_t delay_ms);
  // Milliseconds until the earliest timer acts (0 when one is due); nothing when none is pending.
  std::optional<std::uint32_t> wait_ms() const { return earliest_; }

 private:
  std::uint32_t now_;
  std::optional<std::uint32_t> earliest_;
};

inline void NextWake::after(std::uint32_t since, std::uint32_t interval_ms) {
  const std::uint32_t elapsed = now_ - since;
  in(has_passed(now_, since, interval_ms) ? 0 : interval_ms - elapsed + 1);
}

inline void NextWake::in(std::uint32_t delay_ms) {
  if (!earliest_ || delay_ms < *earliest_) earliest_ = delay_ms;
}

}  // namespace mav
