// Commands waiting for the gateway's reply.
#include <gtest/gtest.h>

#include <optional>
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

TEST(PendingTable, LowerSlotFirstAndAFullTableLosesTheEntry) {
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
  // Kind zero marks a free slot and is never stored.
  EXPECT_FALSE(table.Add(0, 5, 1, 1));
  EXPECT_EQ(Taken(table, 0, 0), std::nullopt);

  table.Clear();
  for (int i = 0; i < 256; ++i) ASSERT_TRUE(table.Add(1, i % 26 & 0xFF, i & 0xFF, 0));
  EXPECT_FALSE(table.Add(3, 7, 1, 1));
  EXPECT_EQ(Taken(table, 3, 7), std::nullopt);
  EXPECT_EQ(Taken(table, 1, 25), Data(25, 0));
  EXPECT_TRUE(table.Add(3, 7, 1, 1));
  table.Clear();
  EXPECT_EQ(Taken(table, 1, 0), std::nullopt);
}

}  // namespace
}  // namespace mav
