#include <chrono>
#include <ctime>

#include "platform/Clock.h"

namespace mav {

std::uint32_t SystemClock::now_ms() const {
  const auto since_boot = std::chrono::steady_clock::now().time_since_epoch();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since_boot).count();
  return static_cast<std::uint32_t>(ms);
}

std::int64_t SystemClock::now_seconds() const {
  return static_cast<std::int64_t>(std::time(nullptr));
}

std::int64_t SystemClock::now_calendar_ms() const {
  const auto since_epoch = std::chrono::system_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::milliseconds>(since_epoch).count();
}

LocalTime SystemClock::local_time() const {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  localtime_r(&now, &parts);
  return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                   parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

}  // namespace mav
