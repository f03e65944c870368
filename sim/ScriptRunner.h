// A timed script of control commands. Each line is "DELAY_MS COMMAND": the command runs
// DELAY_MS milliseconds after the one before it (after the start for the first). Blank lines and
// lines starting with '#' are skipped. Time is passed in, so tests drive it by hand.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mav::sim {

class ScriptRunner {
 public:
  // Reads the script text; on a malformed line, false and `error` names the line.
  bool load(std::string_view text, std::string& error);

  bool started() const { return started_; }
  void start(std::uint64_t now_ms);

  // The commands due by now_ms, in script order.
  std::vector<std::string> take_due(std::uint64_t now_ms);

  // When the next command falls due; nothing when not started or finished.
  std::optional<std::uint64_t> next_due() const;

 private:
  struct Step {
    std::uint64_t delay_ms = 0;
    std::string command;
  };
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  std::uint64_t next_at_ = 0;
  bool started_ = false;
};

}  // namespace mav::sim
