// A clock the tests set by hand. Reads and writes are atomic so that threaded tests may advance
// it while the worker reads it.
#pragma once

#include <atomic>
#include <mutex>

#include "platform/Clock.h"

namespace mav::test {

class FakeClock final : public Clock {
 public:
  std::uint32_t now_ms() const override { return ms_.load(); }
  std::int64_t now_seconds() const override { return seconds_.load(); }
  LocalTime local_time() const override {
    std::lock_guard lock(mutex_);
    return local_;
  }

  void set_ms(std::uint32_t ms) { ms_.store(ms); }
  void advance_ms(std::uint32_t ms) { ms_.fetch_add(ms); }
  void advance_seconds(std::int64_t seconds) { seconds_.fetch_add(seconds); }
  void set_local_time(const LocalTime& t) {
    std::lock_guard lock(mutex_);
    local_ = t;
  }

 private:
  std::atomic<std::uint32_t> ms_{1'000'000};
  std::atomic<std::int64_t> seconds_{1'700'000'000};
  mutable std::mutex mutex_;
  LocalTime local_{2004, 3, 5, 7, 4, 9};
};

}  // namespace mav::test
