// The trace's hand-over from the producing threads to the watcher.
#include "trace/ProtocolTrace.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

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

}  // namespace
}  // namespace mav::test
