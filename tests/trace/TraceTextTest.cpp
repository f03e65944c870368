// How rows read in the window and in a saved trace, and which rows the filter lets through.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "trace/TraceText.h"

namespace mav::test {
namespace {

TraceRow row_of(TraceDirection direction, TraceMark mark, bool queued, std::string_view text) {
  TraceRow row;
  row.time_ms = 1'700'000'000'250;  // 22:13:20.250 UTC
  row.direction = direction;
  row.mark = mark;
  row.queued = queued;
  row.length = static_cast<std::uint16_t>(text.copy(row.text, kTraceTextSize - 1));
  return row;
}

TEST(TraceText, SavedLinesCarryTimeKindModeAndTheVisibleText) {
  setenv("TZ", "UTC", 1);
  tzset();
  using D = TraceDirection;
  using M = TraceMark;
  const struct {
    TraceRow row;
    const char* line;
  } rows[] = {
      {row_of(D::Sent, M::None, false, "CONNECT_S 03 07"),
       "22:13:20.250\tsent\tat once\tCONNECT_S 03 07"},
      {row_of(D::Sent, M::None, true, "TX_LEVEL 05 3"),
       "22:13:20.250\tsent\tqueued\tTX_LEVEL 05 3"},
      {row_of(D::Received, M::None, false, "two\nparts\x01"),
       "22:13:20.250\treceived\t\ttwo<LF>parts<01>"},
      {row_of(D::Event, M::ReplyTimeout, false, "No reply within 4000 ms"),
       "22:13:20.250\treply time-out\t\tNo reply within 4000 ms"},
      {row_of(D::Event, M::LostContact, false, "Lost contact with MAV-7700"),
       "22:13:20.250\tlost contact\t\tLost contact with MAV-7700"},
      {row_of(D::Event, M::Reconnect, false, "Reconnecting to the same site"),
       "22:13:20.250\treconnect\t\tReconnecting to the same site"},
      {row_of(D::Event, M::QueueOverflow, false, "DISCH 01 02\r"),
       "22:13:20.250\tqueue overflow\t\tDISCH 01 02<CR>"},
  };
  for (const auto& row : rows) EXPECT_EQ(trace_line(row.row), row.line);
}

TEST(TraceText, FilterByKeywordAndPort) {
  const struct {
    const char* text;
    const char* keyword;
    std::optional<int> port;
    bool passes;
  } rows[] = {
      {"%CONNECT_S 03 07 E0", "", std::nullopt, true},
      {"%CONNECT_S 03 07 E0", "connect", std::nullopt, true},
      {"%CONNECT_S 03 07 E0", "DISC", std::nullopt, false},
      {"%CONNECT_S 03 07 E0", "", 7, true},
      {"%CONNECT_S 03 07 E0", "", 3, true},
      {"%CONNECT_S 03 07 E0", "", 0, false},  // "E0" is a status, not a port
      {"TX_LEVEL 05 3", "", 3, false},        // a one-digit value is no port
      {"TX_LEVEL 05 3", "level", 5, true},
      {"TX_LEVEL 05 3", "RX", 5, false},
      {"SYSTEM", "", 0, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.text) + " / " + row.keyword);
    const TraceRow trace_row = row_of(TraceDirection::Received, TraceMark::None, false, row.text);
    EXPECT_EQ(trace_row_passes(trace_row, {row.keyword, row.port}), row.passes);
  }
}

}  // namespace
}  // namespace mav::test
