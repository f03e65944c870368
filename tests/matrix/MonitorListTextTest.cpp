// The monitor list as the box under a port's name shows it: runs and singles in port order.
#include <gtest/gtest.h>

#include <array>

#include "matrix/MonitorListText.h"
#include "model/PortRecord.h"

namespace mav {
namespace {

TEST(FormatMonitorList, RunsAndSinglesUpToTheEndMarkOrTheLastSlot) {
  // clang-format off
  for (const auto& [entries, text] : {std::pair<std::vector<int>, const char*>{{4, 1, 2, 3, 9},
       "1-4,9"}, {{8, 7, 5, 2, 0, 1}, "0-2,5,7-8"}, {{12}, "12"}, {{25, 3}, "3,25"},
       {{24, 25}, "24-25"}, {{}, ""}, {{0, 1, 2, PORT_NONE, 4}, "0-2"}}) {
    // clang-format on
    std::array<std::uint8_t, kMonitorSlots> list;
    list.fill(PORT_NONE);
    std::copy(entries.begin(), entries.end(), list.begin());
    EXPECT_EQ(FormatMonitorList(list), text);
  }
  std::array<std::uint8_t, kMonitorSlots> full{};
  for (std::size_t i = 0; i < full.size(); ++i) full[i] = static_cast<std::uint8_t>(i);
  EXPECT_EQ(FormatMonitorList(full), "0-26");  // no end mark: all 27 slots, nothing beyond
  EXPECT_EQ(FormatMonitorList(std::span<const std::uint8_t>()), "");
}

}  // namespace
}  // namespace mav
