// The module line-up: which module type (0 = empty, 1 to 5) sits in each of the 26 ports.
// Pure functions; any thread.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace mav::sim {

inline constexpr int kPortCount = 26;

using Lineup = std::array<int, kPortCount>;

// A mix of all five module types across ports 0 to 25, with some empty ports.
Lineup default_lineup();

// The "half" preset: the default mix in ports 0 to 12, ports 13 to 25 empty.
Lineup half_lineup();

// Reads a line-up text: one character per port in port order, '0' to '5' for the module type and
// '-' or '.' for an empty port; blanks and line breaks are skipped and '#' starts a comment that
// runs to the end of its line. Fewer than 26 ports leaves the rest empty; more, or any other
// character, is refused (nothing).
std::optional<Lineup> parse_lineup(std::string_view text);

}  // namespace mav::sim
