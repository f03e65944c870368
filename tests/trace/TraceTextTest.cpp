// How rows read in a saved trace, and which rows the filter lets through.
#include "trace/TraceText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

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
  const auto line = [](D direction, M mark, bool queued, std::string_view text) {
    return trace_line(row_of(direction, mark, queued, text)).substr(13);
  };
  EXPECT_EQ(trace_line(row_of(D::Sent, M::None, false, "VER")), "22:13:20.250\tsent\tat once\tVER");
  EXPECT_EQ(line(D::Sent, M::None, true, "TX_LEVEL 05 3"), "sent\tqueued\tTX_LEVEL 05 3");
  EXPECT_EQ(line(D::Received, M::None, false, "two\nparts\x01"), "received\t\ttwo<LF>parts<01>");
  EXPECT_EQ(line(D::Event, M::ReplyTimeout, false, "No reply"), "reply time-out\t\tNo reply");
  EXPECT_EQ(line(D::Event, M::LostContact, false, "Lost"), "lost contact\t\tLost");
  EXPECT_EQ(line(D::Event, M::Reconnect, false, "Again"), "reconnect\t\tAgain");
  EXPECT_EQ(line(D::Event, M::QueueOverflow, false, "DISCH 01 02\r"),
            "queue overflow\t\tDISCH 01 02<CR>");
}

TEST(TraceText, FilterByKeywordAndPort) {
  const auto passes = [](const char* text, const char* keyword, std::optional<int> port) {
    const TraceRow row = row_of(TraceDirection::Received, TraceMark::None, false, text);
    return trace_row_passes(row, {keyword, port});
  };
  // "E0" is a status, not a port; a one-digit value is no port.
  const char* const kC = "%CONNECT_S 03 07 E0";
  const char* const kT = "TX_LEVEL 05 3";
  // clang-format off
  for (const auto& [text, keyword, port, pass] : {
           std::tuple<const char*, const char*, std::optional<int>, bool>{kC, "", {}, true},
           {kC, "connect", {}, true}, {kC, "DISC", {}, false}, {kC, "", 7, true}, {kC, "", 3, true},
           {kC, "", 0, false}, {kT, "", 3, false}, {kT, "level", 5, true}, {kT, "RX", 5, false},
           {"SYSTEM", "", 0, false}}) {
    EXPECT_EQ(passes(text, keyword, port), pass) << text << " " << keyword;
  }
  // clang-format on
}

}  // namespace
}  // namespace mav::test
