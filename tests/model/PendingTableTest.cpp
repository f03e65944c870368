// Commands waiting for the gateway's reply.
#include <gtest/gtest.h>

#include <thread>

#include "model/PendingTable.h"

namespace mav {
namespace {

TEST(PendingTable, TakeHandsBackTheLowerSlotFirst) {
  PendingTable table;
  ASSERT_TRUE(table.Add(1, 4, 2, 0));
  ASSERT_TRUE(table.Add(3, 4, 6, 9));  // same port, other kind
  ASSERT_TRUE(table.Add(1, 4, 5, 0));
  std::uint8_t data1 = 0, data2 = 0;
  ASSERT_TRUE(table.Take(1, 4, data1, data2));
  EXPECT_EQ(data1, 2);
  ASSERT_TRUE(table.Take(1, 4, data1, data2));
  EXPECT_EQ(data1, 5);
  EXPECT_FALSE(table.Take(1, 4, data1, data2));
  ASSERT_TRUE(table.Take(3, 4, data1, data2));
  EXPECT_EQ(data1, 6);
  EXPECT_EQ(data2, 9);
}

TEST(PendingTable, FreedSlotIsReusedBeforeHigherOnes) {
  PendingTable table;
  table.Add(1, 1, 10, 0);
  table.Add(1, 2, 20, 0);
  std::uint8_t data1 = 0, data2 = 0;
  table.Take(1, 1, data1, data2);
  table.Add(1, 2, 30, 0);  // lands in slot 0, below the older entry for port 2
  ASSERT_TRUE(table.Take(1, 2, data1, data2));
  EXPECT_EQ(data1, 30);
}

TEST(PendingTable, AFullTableLosesTheEntry) {
  PendingTable table;
  for (int i = 0; i < 256; ++i) {
    ASSERT_TRUE(table.Add(1, static_cast<std::uint8_t>(i % 26), static_cast<std::uint8_t>(i), 0));
  }
  EXPECT_FALSE(table.Add(3, 7, 1, 1));
  std::uint8_t data1 = 0, data2 = 0;
  EXPECT_FALSE(table.Take(3, 7, data1, data2));
  ASSERT_TRUE(table.Take(1, 25, data1, data2));
  EXPECT_EQ(data1, 25);
  EXPECT_TRUE(table.Add(3, 7, 1, 1));

  table.Clear();
  EXPECT_FALSE(table.Take(1, 0, data1, data2));
  for (int i = 0; i < 256; ++i) ASSERT_TRUE(table.Add(3, 1, 0, 0));
}

TEST(PendingTable, DialMarkerIsAnEntryForNoPort) {
  PendingTable table;
  ASSERT_TRUE(table.Add(PendingTable::kConnectWaits, PendingTable::kDialMarkerPort, 0, 0));
  std::uint8_t data1 = 1, data2 = 1;
  EXPECT_FALSE(table.Take(PendingTable::kConnectWaits, 22, data1, data2));
  EXPECT_TRUE(table.Take(1, 122, data1, data2));
  EXPECT_EQ(data1, 0);
}

TEST(PendingTable, KindZeroMarksAFreeSlotAndIsNeverStored) {
  PendingTable table;
  EXPECT_FALSE(table.Add(0, 5, 1, 1));
  std::uint8_t data1 = 0, data2 = 0;
  EXPECT_FALSE(table.Take(0, 5, data1, data2));
  EXPECT_FALSE(table.Take(0, 0, data1, data2));  // the free slots themselves
}

// The worker's reply handlers and the operator's gestures add and take at the same time.
TEST(PendingTable, TwoThreadsAddingAndTakingLoseNothing) {
  PendingTable table;
  auto work = [&table](std::uint8_t port, int& taken) {
    for (int round = 0; round < 2000; ++round) {
      const auto step = static_cast<std::uint8_t>(round % 200);
      if (!table.Add(3, port, step, port)) continue;
      std::uint8_t data1 = 0, data2 = 0;
      if (table.Take(3, port, data1, data2) && data1 == step && data2 == port) ++taken;
    }
  };
  int taken_a = 0, taken_b = 0;
  std::thread a(work, std::uint8_t{4}, std::ref(taken_a));
  std::thread b(work, std::uint8_t{9}, std::ref(taken_b));
  a.join();
  b.join();
  EXPECT_EQ(taken_a, 2000);
  EXPECT_EQ(taken_b, 2000);
}

}  // namespace
}  // namespace mav
