// One parsed reply or event line from the gateway, handed from the LineReader to the dispatcher.
// Written only by LineReader::read_step and read and released only by the dispatcher, both on
// the worker thread; `pending` is the hand-over between them.
#pragma once

#include <cstdint>

namespace mav {

inline constexpr int kReplyListSize = 26;          // numbers before the end marker
inline constexpr std::uint16_t kListEnd = 0xFFFF;  // ends `list`
inline constexpr int kReplyTextSize = 130;         // 129 characters and the NUL
inline constexpr int kPortAll = 60;                // "ALL" for DISC, DISC_S and DISCH
inline constexpr int kNoPortRead = 255;

struct ParsedReply {
  bool valid = false;        // a keyword was recognised once; never cleared afterwards
  bool parse_error = false;  // the current line failed to parse; the dispatcher drops it
  int keyword = 0;           // kw:: index, 0..67
  int port = kNoPortRead;    // read as its low byte
  int value = 0;
  bool flag = false;  // an ON/OFF argument was "ON"
  int status = -1;    // the number of the "E<n>" status token; -1 when none was read
  std::uint16_t list[kReplyListSize + 1] = {kListEnd};
  char text[kReplyTextSize] = {};
  bool pending = false;  // a parsed line waits for the dispatcher
};

}  // namespace mav
