// The worker thread's one wait: it sleeps until a watched descriptor has bytes to read, another
// thread wakes it, or its time-out passes. A wake-up given while the worker is busy is kept, so the
// next wait returns at once and no change made meanwhile goes unseen.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>

namespace mav {

class WakeSignal {
 public:
  WakeSignal();
  WakeSignal(const WakeSignal&) = delete;
  WakeSignal& operator=(const WakeSignal&) = delete;
  ~WakeSignal();

  // Any thread; costs no system call while a wake-up is already pending.
  void wake();
  // Waits up to timeout_ms (nothing: without a limit) for bytes on fd (-1: no descriptor) or a
  // wake(), and takes the wake-up. True when bytes or a wake-up ended the wait, false on the
  // time-out. The waiting thread only.
  bool wait(int fd, std::optional<std::uint32_t> timeout_ms);

 private:
  int event_fd_;
  std::atomic<bool> woken_{false};
};

}  // namespace mav
