// Misbehaviour on request: the fault switches the simulator's loop obeys, and the byte streams of
// the garbage, over-long-line and flood faults. Single-threaded.
#pragma once

#include <cstdint>
#include <string>

namespace mav::sim {

struct FaultState {
  bool silent = false;   // received lines are dropped unanswered and unexecuted
  int slow_ms = 0;       // every line to the peers leaves this much later
  int busy_replies = 0;  // the coming command lines (not "logout") answered "%BUSY", unexecuted
};

inline constexpr int kMaxFaultCount = 1000000;

// `count` pseudo-random bytes of any value (carriage returns included), the same for one seed.
std::string garbage_bytes(int count, std::uint32_t seed);

// One line of `length` characters ("%" and then letters) and its carriage return.
std::string long_line(int length);

// `count` COR activity lines, each with its carriage return, the last one clearing all ports.
std::string flood_lines(int count);

}  // namespace mav::sim
