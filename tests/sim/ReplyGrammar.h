// Whether the controller would take a line the simulator sends: the controller's own line parser
// is the judge, so a reply the gateway stand-in invents that the controller cannot read fails.
#pragma once

#include <string_view>

#include "link/LineReader.h"
#include "link/ReceivedLineRing.h"

namespace mav::sim::test {

// True when the controller's parser takes the line (without its carriage return) without a
// parse error.
inline bool parses_as_reply(std::string_view line) {
  ReceivedLineRing ring;
  LineReader reader(ring);
  if (!ring.push(line)) return false;
  reader.read_step();
  return reader.reply().pending && !reader.reply().parse_error;
}

}  // namespace mav::sim::test
