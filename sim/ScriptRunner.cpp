#include "ScriptRunner.h"

#include <charconv>

namespace mav::sim {

bool ScriptRunner::load(std::string_view text, std::string& error) {
  steps_.clear();
  int number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++number;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    if (line.empty() || line.front() == '#') continue;
    std::uint64_t delay = 0;
    const auto [after, failure] = std::from_chars(line.data(), line.data() + line.size(), delay);
    const std::string_view command(after,
                                   static_cast<std::size_t>(line.data() + line.size() - after));
    if (failure != std::errc() || command.empty() || command.front() != ' ') {
      error = "line " + std::to_string(number) + ": expected DELAY_MS COMMAND";
      return false;
    }
    steps_.push_back({delay, std::string(command.substr(command.find_first_not_of(' ')))});
  }
  return true;
}

void ScriptRunner::start(std::uint64_t now_ms) {
  started_ = true;
  next_ = 0;
  if (!steps_.empty()) next_at_ = now_ms + steps_.front().delay_ms;
}

std::vector<std::string> ScriptRunner::take_due(std::uint64_t now_ms) {
  std::vector<std::string> due;
  while (started_ && next_ < steps_.size() && now_ms >= next_at_) {
    due.push_back(steps_[next_].command);
    ++next_;
    if (next_ < steps_.size()) next_at_ += steps_[next_].delay_ms;
  }
  return due;
}

std::optional<std::uint64_t> ScriptRunner::next_due() const {
  if (!started_ || next_ >= steps_.size()) return std::nullopt;
  return next_at_;
}

}  // namespace mav::sim
