// One row of the protocol trace: a line that went to or came from the gateway, or a marked event
// of the link (a reply that did not come, contact lost, a reconnect, a line the full queue
// refused). Fixed size, so recording one never allocates.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace mav {

inline constexpr std::size_t kTraceTextSize = 256;  // the longest received line and its NUL

enum class TraceDirection : std::uint8_t { Sent, Received, Event };

// Change: a change to the gateway's patches that a client of its service made, named with the
// client, as a console attached to the service learns of it.
enum class TraceMark : std::uint8_t {
  None,
  ReplyTimeout,
  LostContact,
  Reconnect,
  QueueOverflow,
  Change
};

struct TraceRow {
  std::int64_t time_ms = 0;  // calendar milliseconds
  TraceDirection direction = TraceDirection::Event;
  TraceMark mark = TraceMark::None;
  bool queued = false;  // a sent line that waited in the outgoing queue
  std::uint16_t length = 0;
  char text[kTraceTextSize] = {};

  std::string_view view() const { return {text, length}; }
};

}  // namespace mav
