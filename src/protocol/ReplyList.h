// Reading the number list of a parsed reply: entries up to the end marker, never more than the
// list's 26 slots even when a damaged line left no marker. Worker thread, on the current reply.
#pragma once

#include <span>

#include "link/ParsedReply.h"

namespace mav {

inline std::span<const std::uint16_t> listed_numbers(const ParsedReply& reply) {
  int count = 0;
  while (count < kReplyListSize && reply.list[count] != kListEnd) ++count;
  return {reply.list, static_cast<std::size_t>(count)};
}

// The port a reply names: the parser's number taken as its low byte.
inline int reply_port(const ParsedReply& reply) {
  return reply.port & 0xFF;
}

}  // namespace mav
