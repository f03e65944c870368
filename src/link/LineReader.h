// Parses received gateway lines, one per step, into the one ParsedReply the dispatcher reads.
// A line is a "%" keyword and arguments separated by blanks; which arguments follow, and what
// each becomes, depends on the keyword. Anything else marks the line a parse error. Worker thread
// only, apart from construction.
#pragma once

#include <string_view>

#include "link/ParsedReply.h"
#include "link/ReceivedLineRing.h"

namespace mav {

class LineReader {
 public:
  explicit LineReader(ReceivedLineRing& ring) : ring_(ring) {}

  // Takes the oldest received line and parses it into reply(), setting `pending`; does nothing
  // while the previous line is still pending or when no line waits.
  void read_step();
  // The one parsed reply; the dispatcher clears `pending` when it has acted on it.
  ParsedReply& reply() { return reply_; }
  const ParsedReply& reply() const { return reply_; }

 private:
  class Tokens;

  void parse(std::string_view line);
  // Each returns false when the line is a parse error; true when parsing goes on or is complete
  // (complete sets `done`).
  bool first_argument(std::string_view token, Tokens& tokens, bool& done);
  bool second_argument(std::string_view token, Tokens& tokens, bool& done);
  bool read_list(std::string_view token, Tokens& tokens, std::string_view& ended_by,
                 bool stop_at_status);
  // The number after the status token's first character, which is not tested here; -1 when no
  // digits follow it (a bare "E" is a status token without a number, not a broken line).
  void read_status(std::string_view token);
  void reset_fields();
  void set_text(std::string_view token);

  ReceivedLineRing& ring_;
  ReceivedLine line_;
  ParsedReply reply_;
};

}  // namespace mav
