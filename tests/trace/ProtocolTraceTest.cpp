// The trace's hand-over under a flood from real threads: producers never wait for the watcher,
// the buffer never grows past its capacity, and what the watcher sees is the newest rows in
// order.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "trace/ProtocolTrace.h"

namespace mav::test {
namespace {

constexpr int kFlood = 100000;

// Rows carry "<producer> <sequence>".
int sequence_of(const TraceRow& row) {
  return std::stoi(std::string(row.view().substr(2)));
}

TEST(ProtocolTrace, AFloodWhileTheWatcherStallsKeepsTheNewestRowsWithoutWaiting) {
  ProtocolTrace trace;
  trace.start();
  std::vector<TraceRow> rows;
  trace.received("W -1");
  trace.take(rows);  // the watcher looked once, then stalls for the whole flood
  std::atomic<bool> flooded = false;
  std::thread worker([&] {
    for (int i = 0; i < kFlood; ++i) trace.received("W " + std::to_string(i));
    flooded = true;
  });
  worker.join();  // finishes with nobody taking: the worker never waited on the watcher
  ASSERT_TRUE(flooded);
  rows.clear();
  EXPECT_EQ(trace.take(rows), static_cast<std::uint64_t>(kFlood) - kTraceRowsKept);
  ASSERT_EQ(rows.size(), kTraceRowsKept);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    ASSERT_EQ(sequence_of(rows[i]),
              kFlood - static_cast<int>(kTraceRowsKept) + static_cast<int>(i));
  }
  EXPECT_EQ(rows.back().direction, TraceDirection::Received);
}

TEST(ProtocolTrace, TwoProducersAndAWatcherTakingInBatchesAccountForEveryRowInOrder) {
  ProtocolTrace trace;
  trace.start();
  std::atomic<int> running = 2;
  const auto produce = [&](char who, int count) {
    for (int i = 0; i < count; ++i)
      trace.sent(std::string(1, who) + " " + std::to_string(i), i % 2);
    --running;
  };
  std::thread worker(produce, 'W', kFlood);
  std::thread ui(produce, 'U', kFlood / 10);
  std::vector<TraceRow> batch;
  std::uint64_t overwritten = 0;
  std::size_t taken = 0;
  std::size_t largest_batch = 0;
  int last[2] = {-1, -1};
  bool in_order = true;
  const auto take = [&] {
    batch.clear();
    overwritten += trace.take(batch);
    taken += batch.size();
    largest_batch = std::max(largest_batch, batch.size());
    for (const TraceRow& row : batch) {
      int& previous = last[row.text[0] == 'W' ? 0 : 1];
      in_order = in_order && sequence_of(row) > previous;
      previous = sequence_of(row);
    }
  };
  while (running > 0) take();
  worker.join();
  ui.join();
  take();
  EXPECT_TRUE(in_order);
  EXPECT_LE(largest_batch, kTraceRowsKept);
  EXPECT_EQ(taken + overwritten, static_cast<std::size_t>(kFlood + kFlood / 10));
  // Rows the watcher missed were counted as overwritten; the newest are never among them.
  EXPECT_EQ(last[0], kFlood - 1);
}

TEST(ProtocolTrace, RecordsOnlyOnceStartedAndCutsLongLines) {
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
  EXPECT_EQ(rows[0].view(), "SYSTEM");
  EXPECT_TRUE(rows[0].queued);
  EXPECT_EQ(rows[1].view(), std::string(255, 'x'));
}

}  // namespace
}  // namespace mav::test
