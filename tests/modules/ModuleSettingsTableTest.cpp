#include "modules/ModuleSettingsTable.h"

#include <gtest/gtest.h>

namespace mav {
namespace {

// Rows are {module type, control id, ...}.
const SettingRow* row_of(const int (&row)[5]) {
  const ModuleTable* table = module_table(static_cast<std::uint32_t>(row[0]));
  return table ? find_row(*table, row[1]) : nullptr;
}

TEST(ModuleSettingsTable, AStoredValueShowsItsEntry) {
  // {type, id, stored value, entry shown (-1: none)}. TOV-5: Rx Level, Tx Level, Duplex (Full [0]
  // second), Radio Type (anything but 0 is Motorola), Security Level, COR Polarity. MEK-4:
  // handset Squelch Type, Voice Prompt Delay. LINE-7: Telephone Line Level, VOX Threshold (0 and
  // 9 off, 3 high, else low), Outgoing Ring Time (unknown shows 60 sec), Type, 2 Wire / 4 Wire.
  // VOQ-3: COR Squelch Type (NOISE not offered), High Frequency Equalizer, Noise Reduction Value,
  // VOX/VMR Hang Time, Mute When Squelched. HK-6: VOX Threshold, Outgoing Ring Time, Ring Cadence.
  const int rows[][5] = {
      // clang-format off
      {1, 1401, 3, 3}, {1, 1404, 6, 6}, {1, 1408, 1, 1}, {1, 1403, 4, 1}, {1, 1444, 10, -1},
      {1, 1405, 0, 1}, {2, 1414, 18, 1}, {2, 1412, 0, 0}, {3, 1413, 9, -1}, {3, 1424, 9, 0},
      {3, 1424, 0, 0}, {3, 1424, 1, 1}, {3, 1424, 3, 2}, {3, 1441, 7, 1}, {3, 1418, 0, 1},
      {3, 1420, 0, 0}, {4, 1402, 16, -1}, {4, 1423, 4, 3}, {4, 1430, 9, 9}, {4, 1406, 3, 3},
      {4, 1421, 1, 0}, {5, 1416, 7, 0}, {5, 1441, 7, -1}, {5, 1422, 1, 0},
      // clang-format on
  };
  for (const auto& row : rows) {
    ASSERT_NE(row_of(row), nullptr) << row[0] << "/" << row[1];
    EXPECT_EQ(shown_position(*row_of(row), row[2]).value_or(-1), row[3]) << row[0] << "/" << row[1];
  }
}

TEST(ModuleSettingsTable, AChosenEntryStoresItsValueAndNoChoiceKeepsTheOld) {
  // {type, id, position (-1: none), value before, value stored}: Half, Motorola, LINE-7 Low, 60 sec
  // (word "1"), equalizer (position + 1), COR Squelch Type (NOISE kept, COR, past the end), Mic.
  const int rows[][5] = {
      // clang-format off
      {1, 1408, 0, 1, 0}, {1, 1403, 1, 3, 9}, {3, 1424, 1, 1, 2}, {3, 1441, 2, 1, 2},
      {4, 1423, 0, 4, 1}, {4, 1402, -1, 16, 16}, {4, 1402, 0, 18, 14}, {4, 1402, 3, 18, 18},
      {2, 1414, 0, 18, 24},
      // clang-format on
  };
  for (const auto& row : rows) {
    ASSERT_NE(row_of(row), nullptr) << row[0] << "/" << row[1];
    const std::optional<int> position = row[2] < 0 ? std::nullopt : std::optional<int>(row[2]);
    EXPECT_EQ(read_back(*row_of(row), position, row[3]), row[4]) << row[0] << "/" << row[1];
  }
  EXPECT_EQ(module_table(0), nullptr);
  EXPECT_EQ(module_table(6), nullptr);
}

}  // namespace
}  // namespace mav
