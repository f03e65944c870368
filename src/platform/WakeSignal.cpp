#include "platform/WakeSignal.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>

namespace mav {
namespace {

// How often a descriptor that only reports a hang-up or an error is looked at again: it would
// report itself ready forever, and the wait must not turn into a spin.
constexpr std::uint32_t kBrokenRetryMs = 5;

int poll_timeout(std::optional<std::uint32_t> timeout_ms) {
  if (!timeout_ms) return -1;
  return static_cast<int>(std::min<std::uint32_t>(*timeout_ms, INT_MAX));
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
  if (::poll(watched, count, poll_timeout(timeout_ms)) <= 0) return false;
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
