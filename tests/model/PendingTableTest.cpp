// Commands waiting for the gateway's reply.
#include <gtest/gtest.h>

#include <optional>
#include <thread>
#include <utility>

#include "model/PendingTable.h"

namespace mav {
namespace {

using Data = std::pair<int, int>;

// The (data1, data2) of the entry Take hands back, or nothing when it finds none.
std::optional<Data> Taken(PendingTable& table, std::uint8_t kind, std::uint8_t port) {
  std::uint8_t data1 = 0, data2 = 0;
  if (!table.Take(kind, port, data1, data2)) return std::nullopt;
  return Data{data1, data2};
}

TEST(PendingTable, TakeHandsBackTheLowerSlotFirst) {
  PendingTable table;
  ASSERT_TRUE(table.Add(1, 4, 2, 0));
  ASSERT_TRUE(table.Add(3, 4, 6, 9));  // same port, other kind
  ASSERT_TRUE(table.Add(1, 4, 5, 0));
  EXPECT_EQ(Taken(table, 1, 4), Data(2, 0));
  EXPECT_EQ(Taken(table, 1, 4), Data(5, 0));
  EXPECT_EQ(Taken(table, 1, 4), std::nullopt);
  EXPECT_EQ(Taken(table, 3, 4), Data(6, 9));

  // A freed slot is reused before higher ones, even below an older entry for the same port.
  table.Add(1, 1, 10, 0);
  table.Add(1, 2, 20, 0);
  Taken(table, 1, 1);
  table.Add(1, 2, 30, 0);
  EXPECT_EQ(Taken(table, 1, 2), Data(30, 0));
}

TEST(PendingTable, AFullTableLosesTheEntry) {
  PendingTable table;
  for (int i = 0; i < 256; ++i) {
    ASSERT_TRUE(table.Add(1, static_cast<std::uint8_t>(i % 26), static_cast<std::uint8_t>(i), 0));
  }
  EXPECT_FALSE(table.Add(3, 7, 1, 1));
  EXPECT_EQ(Taken(table, 3, 7), std::nullopt);
  EXPECT_EQ(Taken(table, 1, 25), Data(25, 0));
  EXPECT_TRUE(table.Add(3, 7, 1, 1));

  table.Clear();
  EXPECT_EQ(Taken(table, 1, 0), std::nullopt);
  for (int i = 0; i < 256; ++i) ASSERT_TRUE(table.Add(3, 1, 0, 0));
}

TEST(PendingTable, KindZeroMarksAFreeSlotAndIsNeverStored) {
  PendingTable table;
  EXPECT_FALSE(table.Add(0, 5, 1, 1));
  EXPECT_EQ(Taken(table, 0, 5), std::nullopt);
  EXPECT_EQ(Taken(table, 0, 0), std::nullopt);  // the free slots themselves
}

// The worker's reply handlers and the operator's gestures add and take at the same time.
TEST(PendingTable, TwoThreadsAddingAndTakingLoseNothing) {
  PendingTable table;
  auto work = [&table](std::uint8_t port, int& taken) {
    for (int round = 0; round < 2000; ++round) {
      const auto step = static_cast<std::uint8_t>(round % 200);
      if (table.Add(3, port, step, port) && Taken(table, 3, port) == Data(step, port)) ++taken;
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
