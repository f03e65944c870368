#include "CommandLine.h"

#include "Lineup.h"
#include "vocabulary/Vocabulary.h"

namespace mav::sim {

CommandLine split_command(std::string_view line) {
  CommandLine command;
  std::size_t at = 0;
  while (at < line.size()) {
    if (line[at] == ' ' || line[at] == '\t') {
      ++at;
      continue;
    }
    const std::size_t end = line.find_first_of(" \t", at);
    const std::string_view token = line.substr(at, end == std::string_view::npos ? end : end - at);
    if (command.blank) {
      command.blank = false;
      command.first = token;
      command.keyword = lookup_keyword(token);
    } else {
      command.args.push_back(token);
    }
    at += token.size();
  }
  return command;
}

std::optional<int> parse_number(std::string_view token) {
  if (token.empty() || token.size() > 5) return std::nullopt;
  int value = 0;
  for (char c : token) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::optional<int> parse_port(std::string_view token) {
  if (token.size() > 3) return std::nullopt;
  const std::optional<int> value = parse_number(token);
  if (!value || *value >= kPortCount) return std::nullopt;
  return value;
}

std::optional<int> parse_on_off(std::string_view token) {
  if (token == "ON") return 1;
  if (token == "OFF") return 0;
  return std::nullopt;
}

}  // namespace mav::sim
