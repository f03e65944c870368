#include "link/ReceivedLineRing.h"

#include <gtest/gtest.h>

#include <string>

namespace mav {
namespace {

std::string take(ReceivedLineRing& ring) {
  ReceivedLine line;
  return ring.next_line(line) ? std::string(line.view()) : std::string("<none>");
}

TEST(ReceivedLineRing, HoldsNinetyNineUnreadLinesAndDropsTheHundredth) {
  ReceivedLineRing ring;
  for (int i = 0; i < 99; ++i) ASSERT_TRUE(ring.push("line " + std::to_string(i)));
  EXPECT_FALSE(ring.push("line 99"));
  EXPECT_EQ(ring.unread(), 99u);
  for (int i = 0; i < 99; ++i) EXPECT_EQ(take(ring), "line " + std::to_string(i));
  EXPECT_EQ(take(ring), "<none>");
}

TEST(ReceivedLineRing, KeepsArrivalOrderAcrossManyWraps) {
  ReceivedLineRing ring;
  int pushed = 0;
  int taken = 0;
  for (int round = 0; round < 50; ++round) {
    for (int i = 0; i < 37; ++i) ASSERT_TRUE(ring.push(std::to_string(pushed++)));
    for (int i = 0; i < 37; ++i) ASSERT_EQ(take(ring), std::to_string(taken++));
  }
  EXPECT_EQ(ring.unread(), 0u);
}

TEST(ReceivedLineRing, StoresAtMost255CharactersOfALine) {
  ReceivedLineRing ring;
  ring.push(std::string(300, 'x'));
  EXPECT_EQ(take(ring), std::string(255, 'x'));
}

}  // namespace
}  // namespace mav
