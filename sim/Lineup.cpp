#include "Lineup.h"

namespace mav::sim {

Lineup default_lineup() {
  return {1, 1, 3, 4, 2, 0, 1, 5, 3, 4, 0, 1, 2, 5, 3, 0, 4, 1, 1, 5, 3, 0, 2, 4, 1, 5};
}

Lineup half_lineup() {
  Lineup lineup = default_lineup();
  for (int port = 13; port < kPortCount; ++port) lineup[static_cast<std::size_t>(port)] = 0;
  return lineup;
}

std::optional<Lineup> parse_lineup(std::string_view text) {
  Lineup lineup{};
  std::size_t port = 0;
  bool in_comment = false;
  for (char c : text) {
    if (in_comment) {
      in_comment = c != '\n';
      continue;
    }
    if (c == '#') {
      in_comment = true;
      continue;
    }
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    int type = 0;
    if (c >= '0' && c <= '5') {
      type = c - '0';
    } else if (c != '-' && c != '.') {
      return std::nullopt;
    }
    if (port >= lineup.size()) return std::nullopt;
    lineup[port++] = type;
  }
  return lineup;
}

}  // namespace mav::sim
