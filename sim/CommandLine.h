// Splitting a received command line into its keyword and arguments, and reading the argument
// forms the gateway accepts. Pure functions of the text; any thread.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace mav::sim {

struct CommandLine {
  bool blank = true;                   // no token at all (a bare "\r" or " \r")
  int keyword = -1;                    // keyword index of the first token; -1 when it is none
  std::string_view first;              // the first token as received
  std::vector<std::string_view> args;  // the tokens after it
};

// Tokens are separated by runs of blanks and tabs; the keyword must match exactly.
CommandLine split_command(std::string_view line);

// A port number: one to three decimal digits with a value of 0 to 25.
std::optional<int> parse_port(std::string_view token);

// An unsigned decimal number of one to five digits.
std::optional<int> parse_number(std::string_view token);

// An ON or OFF token: 1 or 0.
std::optional<int> parse_on_off(std::string_view token);

}  // namespace mav::sim
