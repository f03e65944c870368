// The retries after the gateway closed a network connection: the reopen at once is the first
// attempt; after each failure the next follows a pause of 2 s, twice the last pause each time, at
// most 60 s, until an attempt connects or the operator chooses another connection or Disconnect.
// A gateway that comes back after a power cut or a restart is found again without anyone at the
// console. Only the first failure and the recovery are worth a log entry. UI thread.
#pragma once

#include <cstdint>

namespace mav {

class Reconnection {
 public:
  bool active() const { return attempt_ > 0; }
  // The attempt under way or coming next, counting the reopen at once as 1; 0 when not retrying.
  int attempt() const { return attempt_; }

  // The peer closed the connection: attempt 1 starts at once.
  void begin();
  // The current attempt failed: the pause before the next, which becomes the current one.
  std::uint32_t failed();
  // Whether the failure just counted was the first of this episode.
  bool first_failure() const { return attempt_ == 2; }
  void stop() { attempt_ = 0; }

 private:
  int attempt_ = 0;
  std::uint32_t pause_ms_ = 0;
};

}  // namespace mav
