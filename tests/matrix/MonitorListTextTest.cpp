#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <initializer_list>

#include "matrix/MonitorListText.h"
#include "model/PortRecord.h"

namespace mav {
namespace {

std::string Format(std::initializer_list<int> entries) {
  std::array<std::uint8_t, kMonitorSlots> list;
  list.fill(PORT_NONE);
  std::size_t i = 0;
  for (int e : entries) list[i++] = static_cast<std::uint8_t>(e);
  return FormatMonitorList(list);
}

TEST(FormatMonitorList, RunsAndSingles) {
  EXPECT_EQ(Format({4, 1, 2, 3, 9}), "1-4,9");
  EXPECT_EQ(Format({0, 1, 2, 5, 7, 8}), "0-2,5,7-8");
  EXPECT_EQ(Format({8, 7, 5, 2, 0, 1}), "0-2,5,7-8");
  EXPECT_EQ(Format({12}), "12");
  EXPECT_EQ(Format({25, 3}), "3,25");
  EXPECT_EQ(Format({24, 25}), "24-25");
  EXPECT_EQ(Format({}), "");
}

TEST(FormatMonitorList, StopsAtTheEndMarkOrTheLastSlot) {
  std::array<std::uint8_t, kMonitorSlots> list{};
  for (std::size_t i = 0; i < list.size(); ++i) list[i] = static_cast<std::uint8_t>(i);
  EXPECT_EQ(FormatMonitorList(list), "0-26");  // no end mark: all 27 slots, nothing beyond
  list[3] = PORT_NONE;
  EXPECT_EQ(FormatMonitorList(list), "0-2");
  EXPECT_EQ(FormatMonitorList(std::span<const std::uint8_t>()), "");
}

}  // namespace
}  // namespace mav
