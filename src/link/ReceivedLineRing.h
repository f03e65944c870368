// The ring of received gateway lines: 100 slots, at most 99 unread, a full ring drops the new
// line. One receive path pushes (the serial path on the worker thread, or the socket path on the
// UI thread; only the open channel's) and the worker thread takes; each index has one writer.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace mav {

inline constexpr std::size_t kLineSize = 256;  // 255 characters and the NUL
inline constexpr std::uint32_t kRingSlots = 100;

// One line as taken from the ring: the reader's own copy.
struct ReceivedLine {
  char text[kLineSize] = {};
  std::size_t length = 0;
  std::string_view view() const { return {text, length}; }
};

class ReceivedLineRing {
 public:
  // Stores a copy of line (its first 255 characters); false, storing nothing, when 99 lines
  // already wait. The pushing receive path's thread.
  bool push(std::string_view line);
  // Copies the oldest unread line into out and frees its slot; false when none waits. Worker
  // thread.
  bool next_line(ReceivedLine& out);
  // Lines waiting to be read. Any thread; exact only on the two owning threads.
  std::uint32_t unread() const;

 private:
  struct Slot {
    char text[kLineSize];
    std::size_t length;
  };
  Slot lines_[kRingSlots] = {};
  std::atomic<std::uint32_t> ring_in_{0};   // slot for the next pushed line
  std::atomic<std::uint32_t> ring_out_{0};  // slot of the oldest unread line
};

}  // namespace mav
