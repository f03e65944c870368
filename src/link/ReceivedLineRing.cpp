#include "link/ReceivedLineRing.h"

#include <algorithm>
#include <cstring>

namespace mav {
namespace {

std::uint32_t after(std::uint32_t slot) {
  return slot + 1 == kRingSlots ? 0 : slot + 1;
}

}  // namespace

bool ReceivedLineRing::push(std::string_view line) {
  const std::uint32_t in = ring_in_.load(std::memory_order_relaxed);
  if (after(in) == ring_out_.load(std::memory_order_acquire)) return false;
  Slot& slot = lines_[in];
  slot.length = std::min(line.size(), kLineSize - 1);
  std::memcpy(slot.text, line.data(), slot.length);
  slot.text[slot.length] = '\0';
  ring_in_.store(after(in), std::memory_order_release);
  return true;
}

bool ReceivedLineRing::next_line(ReceivedLine& out) {
  const std::uint32_t out_slot = ring_out_.load(std::memory_order_relaxed);
  if (out_slot == ring_in_.load(std::memory_order_acquire)) return false;
  const Slot& slot = lines_[out_slot];
  out.length = slot.length;
  std::memcpy(out.text, slot.text, slot.length + 1);
  ring_out_.store(after(out_slot), std::memory_order_release);
  return true;
}

std::uint32_t ReceivedLineRing::unread() const {
  const std::uint32_t in = ring_in_.load(std::memory_order_acquire);
  const std::uint32_t out = ring_out_.load(std::memory_order_acquire);
  return in >= out ? in - out : in + kRingSlots - out;
}

}  // namespace mav
