// How a trace row reads: its columns in the window and its line in a saved trace, and which rows
// a filter lets through. Any thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "trace/TraceRow.h"

namespace mav {

// Local time of day with milliseconds: "14:03:07.250".
std::string trace_time_text(std::int64_t time_ms);
// "sent", "received", or for a marked row what happened ("reply time-out", "lost contact",
// "reconnect", "queue overflow", "change").
std::string_view trace_kind_text(const TraceRow& row);
// How a sent line left: "queued" or "at once"; empty for every other row.
std::string_view trace_mode_text(const TraceRow& row);
// The row's text with control characters written out ("<CR>", "<LF>", "<09>"), so what the wire
// carried stays visible on one line.
std::string trace_visible_text(const TraceRow& row);
// One line of a saved trace: the columns separated by tabs.
std::string trace_line(const TraceRow& row);

// A filter of the window: a keyword that must appear in the text (case-insensitive; empty lets
// every row through) and a port that one of the line's arguments must name (ports are written
// with two digits on the wire; nothing lets every row through).
struct TraceFilter {
  std::string keyword;
  std::optional<int> port;
};
bool trace_row_passes(const TraceRow& row, const TraceFilter& filter);

}  // namespace mav
