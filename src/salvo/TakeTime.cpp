#include "salvo/TakeTime.h"

#include <charconv>

namespace mav {
namespace {

constexpr std::int64_t kLongestDelay = 366LL * 24 * 3600;
constexpr std::int64_t kDaySeconds = 24 * 3600;

// The digits at the front of text, consumed; nothing when there are none or too many.
std::optional<std::int64_t> take_number(std::string_view& text) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end == text.data() || value > kLongestDelay || text.front() == '-' ||
      text.front() == '+') {
    return std::nullopt;
  }
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  return value;
}

std::optional<std::int64_t> unit_seconds(char unit) {
  switch (unit) {
    case 'h':
      return 3600;
    case 'm':
      return 60;
    case 's':
      return 1;
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<std::chrono::seconds> ParseDelay(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::int64_t total = 0;
  const bool plain = text.find_first_not_of("0123456789") == std::string_view::npos;
  while (!text.empty()) {
    const auto number = take_number(text);
    if (!number) return std::nullopt;
    std::int64_t unit = 1;
    if (!plain) {
      const auto known = text.empty() ? std::nullopt : unit_seconds(text.front());
      if (!known) return std::nullopt;
      unit = *known;
      text.remove_prefix(1);
    }
    total += *number * unit;
    if (total > kLongestDelay) return std::nullopt;
  }
  return std::chrono::seconds(total);
}

std::optional<int> ParseTimeOfDay(std::string_view text) {
  const auto digit = [&text](std::size_t i) { return text[i] >= '0' && text[i] <= '9'; };
  if (text.size() != 5 || text[2] != ':' || !digit(0) || !digit(1) || !digit(3) || !digit(4)) {
    return std::nullopt;
  }
  const int hour = (text[0] - '0') * 10 + (text[1] - '0');
  const int minute = (text[3] - '0') * 10 + (text[4] - '0');
  if (hour > 23 || minute > 59) return std::nullopt;
  return hour * 60 + minute;
}

std::optional<std::int64_t> TakeTime(std::string_view option, std::string_view value,
                                     const Clock& clock) {
  const std::int64_t now_ms = clock.now_calendar_ms();
  if (option == "--in") {
    const auto delay = ParseDelay(value);
    if (!delay) return std::nullopt;
    return now_ms + std::chrono::duration_cast<std::chrono::milliseconds>(*delay).count();
  }
  const auto minutes = option == "--at" ? ParseTimeOfDay(value) : std::nullopt;
  if (!minutes) return std::nullopt;
  const LocalTime local = clock.local_time();
  std::int64_t ahead = *minutes * 60 - (local.hour * 3600 + local.minute * 60 + local.second);
  if (ahead <= 0) ahead += kDaySeconds;
  // From the start of the current second, which is what the local time counts.
  return (now_ms / 1000 + ahead) * 1000;
}

}  // namespace mav
