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
  EXPECT_TRUE(passes("%CONNECT_S 03 07 E0", "", std::nullopt));
  EXPECT_TRUE(passes("%CONNECT_S 03 07 E0", "connect", std::nullopt));
  EXPECT_FALSE(passes("%CONNECT_S 03 07 E0", "DISC", std::nullopt));
  EXPECT_TRUE(passes("%CONNECT_S 03 07 E0", "", 7));
  EXPECT_TRUE(passes("%CONNECT_S 03 07 E0", "", 3));
  EXPECT_FALSE(passes("%CONNECT_S 03 07 E0", "", 0));  // "E0" is a status, not a port
  EXPECT_FALSE(passes("TX_LEVEL 05 3", "", 3));        // a one-digit value is no port
  EXPECT_TRUE(passes("TX_LEVEL 05 3", "level", 5));
  EXPECT_FALSE(passes("TX_LEVEL 05 3", "RX", 5));
  EXPECT_FALSE(passes("SYSTEM", "", 0));
}

}  // namespace
}  // namespace mav::test
