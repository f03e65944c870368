#include "platform/WakeSignal.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>

namespace mav {
namespace {

// How often a descriptor that only reports a hang-up or an error is looked at again: it would
// report itself ready forever, and the wait must not turn into a spin.
constexpr std::uint32_t kBrokenRetryMs = 5;

// How long to sleep for a time-out of whole milliseconds: until the steady clock begins the
// millisecond the time-out names. The millisecond clock counts whole milliseconds of that clock,
// so a sleep of the full time-out would carry the part of the current millisecond already gone
// into every interval, and paced lines would drift.
timespec sleep_until_tick(std::uint32_t timeout_ms) {
  using namespace std::chrono;
  const auto since_tick = steady_clock::now().time_since_epoch() % milliseconds(1);
  const nanoseconds sleep =
      timeout_ms == 0 ? nanoseconds(0) : milliseconds(timeout_ms) - since_tick;
  const auto whole = duration_cast<seconds>(sleep);
  return timespec{static_cast<time_t>(whole.count()), static_cast<long>((sleep - whole).count())};
}

}  // namespace

WakeSignal::WakeSignal() : event_fd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

WakeSignal::~WakeSignal() {
  if (event_fd_ >= 0) ::close(event_fd_);
}

void WakeSignal::wake() {
  if (woken_.exchange(true)) return;
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t ignored = ::write(event_fd_, &one, sizeof one);
}

bool WakeSignal::wait(int fd, std::optional<std::uint32_t> timeout_ms) {
  pollfd watched[2] = {{event_fd_, POLLIN, 0}, {fd, POLLIN, 0}};
  const nfds_t count = fd >= 0 ? 2 : 1;
  const timespec sleep = sleep_until_tick(timeout_ms.value_or(0));
  if (::ppoll(watched, count, timeout_ms ? &sleep : nullptr, nullptr) <= 0) return false;
  if (count == 2 && (watched[1].revents & POLLIN) == 0 && watched[1].revents != 0) {
    // A hung-up or failed device: wait on the wake-up alone, and look again a little later.
    watched[0].revents = 0;
    const auto retry = std::min(timeout_ms.value_or(kBrokenRetryMs), kBrokenRetryMs);
    if (::poll(watched, 1, static_cast<int>(retry)) <= 0) return false;
  }
  if (watched[0].revents & POLLIN) {
    std::uint64_t count_read = 0;
    [[maybe_unused]] const ssize_t ignored = ::read(event_fd_, &count_read, sizeof count_read);
    // Taken after the read: a wake() in between finds the flag still set and writes nothing, and
    // the pass that follows this wait sees what it announced.
    woken_.exchange(false);
  }
  return true;
}

}  // namespace mav
