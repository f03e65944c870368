// When a scheduled take is due, from what the operator types: "--at HH:MM", the next such local
// time (later today, else tomorrow), or "--in 90s", a delay: whole seconds ("90"), or numbers each
// followed by h, m or s ("1h30m", "2m", "90s"), at most a year. Any thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/Clock.h"

namespace mav {

std::optional<std::chrono::seconds> ParseDelay(std::string_view text);
// Minutes since midnight of "HH:MM" (00:00 to 23:59).
std::optional<int> ParseTimeOfDay(std::string_view text);

// Calendar milliseconds of the take for the option ("--at" or "--in") and its value; nothing
// when either is not understood.
std::optional<std::int64_t> TakeTime(std::string_view option, std::string_view value,
                                     const Clock& clock);

}  // namespace mav
