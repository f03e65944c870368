#include "engine/Reconnection.h"

#include <algorithm>

namespace mav {
namespace {

constexpr std::uint32_t kFirstPauseMs = 2000;
constexpr std::uint32_t kLongestPauseMs = 60000;

}  // namespace

void Reconnection::begin() {
  attempt_ = 1;
  pause_ms_ = 0;
}

std::uint32_t Reconnection::failed() {
  pause_ms_ = pause_ms_ == 0 ? kFirstPauseMs : std::min(pause_ms_ * 2, kLongestPauseMs);
  ++attempt_;
  return pause_ms_;
}

}  // namespace mav
