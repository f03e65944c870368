// The trace's hand-over from the producing threads to the watcher, how rows read in a saved
// trace, and which rows the filter lets through.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "trace/ProtocolTrace.h"
#include "trace/TraceText.h"

namespace mav::test {
namespace {

TEST(ProtocolTrace, RecordsOnceStartedCutsLongLinesAndKeepsTheNewestRows) {
  ProtocolTrace trace(4);
  std::vector<TraceRow> rows;
  trace.sent("VER", false);
  trace.start();
  EXPECT_EQ(trace.take(rows), 0u);
  EXPECT_TRUE(rows.empty());
  trace.sent("SYSTEM", true);
  trace.received(std::string(300, 'x'));
  trace.take(rows);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(std::tuple(rows[0].view(), rows[0].queued, rows[1].view(), rows[1].direction),
            std::tuple("SYSTEM", true, std::string(255, 'x'), TraceDirection::Received));
  rows.clear();
  for (int i = 0; i < 10; ++i) trace.received(std::to_string(i));  // the watcher stalls
  EXPECT_EQ(trace.take(rows), 6u);
  std::string kept;
  for (const TraceRow& row : rows) kept += row.view();
  EXPECT_EQ(kept, "6789");
}

// Two producers flood while the watcher takes in batches: every row is taken or counted as
// overwritten, each producer's rows arrive in order, and the newest are never lost.
TEST(ProtocolTrace, TwoProducersAndAWatcherAccountForEveryRowInOrder) {
  constexpr int kFlood = 100000;
  ProtocolTrace trace;
  trace.start();
  std::atomic<int> running = 2;
  const auto produce = [&](char who, int count) {
    for (int i = 0; i < count; ++i) trace.sent(who + std::to_string(i), false);
    --running;
  };
  std::thread worker(produce, 'W', kFlood);
  std::thread ui(produce, 'U', kFlood / 10);
  std::vector<TraceRow> batch;
  std::uint64_t accounted = 0;
  int last[2] = {-1, -1};
  const auto take = [&] {
    batch.clear();
    accounted += trace.take(batch) + batch.size();
    EXPECT_LE(batch.size(), kTraceRowsKept);
    for (const TraceRow& row : batch) {
      const int sequence = std::stoi(std::string(row.view().substr(1)));
      int& previous = last[row.text[0] == 'W' ? 0 : 1];
      ASSERT_GT(sequence, previous);
      previous = sequence;
    }
  };
  while (running > 0) take();
  worker.join();
  ui.join();
  take();
  EXPECT_EQ(accounted, static_cast<std::uint64_t>(kFlood + kFlood / 10));
  EXPECT_EQ(last[0], kFlood - 1);
}

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
