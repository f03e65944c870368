// The simulator's command line, read once at start-up by main().
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Lineup.h"

namespace mav::sim {

struct Options {
  std::optional<std::string> tcp;  // "HOST:PORT"
  std::optional<std::string> pty;  // link path; "-" for none
  Lineup lineup = default_lineup();
  int buses = 7;
  std::optional<int> control_port;
  std::string script_path;
  bool demo = false;
  std::uint32_t seed = 1;
  std::string transcript_path;  // empty: stderr
};

// Reads the arguments (without the program name). On failure, false with `error` set; "--help"
// fails with the usage text.
bool parse_options(const std::vector<std::string>& args, Options& options, std::string& error);

std::string usage_text();

}  // namespace mav::sim
