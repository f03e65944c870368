// Assembles received bytes into lines for the ring: a carriage return ends a line and is
// dropped, every other byte (line feeds included) is kept. A line that grows past 255 characters
// starts over at the beginning of its buffer, so only what follows its last full 256 characters
// survives; nothing ever overruns. Used by one receive path at a time, on that path's thread.
#pragma once

#include <cstddef>
#include <string_view>

#include "link/ReceivedLineRing.h"
#include "trace/ProtocolTrace.h"

namespace mav {

class LineAssembler {
 public:
  // Every completed line goes to the ring and to the trace, a line the full ring drops included.
  LineAssembler(ReceivedLineRing& ring, ProtocolTrace& trace) : ring_(ring), trace_(trace) {}

  // One byte of the serial path; true when it completed a line (pushed, or dropped by a full
  // ring).
  bool add_byte(char byte);
  // A chunk of the socket path; the number of lines it completed. Text after the last carriage
  // return waits for the next chunk.
  int add_bytes(std::string_view chunk);
  // Forgets a partly received line (a new channel starts clean).
  void clear() { line_length_ = 0; }

 private:
  ReceivedLineRing& ring_;
  ProtocolTrace& trace_;
  char line_buffer_[kLineSize] = {};
  std::size_t line_length_ = 0;
};

}  // namespace mav
