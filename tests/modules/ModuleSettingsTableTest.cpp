#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "modules/ModuleSettingsTable.h"

namespace mav {
namespace {

// One list of one module, checked against the texts the operator sees.
struct ListCase {
  std::uint32_t mod_type;
  int control_id;
  const char* label;
  std::size_t entries;
  const char* first;
  const char* last;
  std::uint32_t shown_value;  // a stored value ...
  std::optional<int> shown;   // ... and the entry it selects
};

class ListTable : public testing::TestWithParam<ListCase> {};

TEST_P(ListTable, EntriesLabelAndShownEntry) {
  const ListCase& c = GetParam();
  const ModuleTable* table = module_table(c.mod_type);
  ASSERT_NE(table, nullptr);
  const SettingRow* row = find_row(*table, c.control_id);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->label, c.label);
  ASSERT_EQ(row->choices.size(), c.entries);
  EXPECT_EQ(row->choices.front().label, c.first);
  EXPECT_EQ(row->choices.back().label, c.last);
  EXPECT_EQ(shown_position(*row, c.shown_value), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Modules, ListTable,
    testing::Values(
        ListCase{1, 1401, "Rx Level", 10, "12 dBm [0]", "-26 dBm [9]", 3, 3},
        ListCase{1, 1404, "Tx Level", 10, "-26 dBm [0]", "12 dBm [9]", 6, 6},
        ListCase{1, 1408, "Duplex", 2, "Half [1] (default)", "Full [0]", 1, 1},
        ListCase{1, 1403, "Radio Type", 2, "Standard [0] (default)", "Motorola URC-200 [9]", 4, 1},
        ListCase{1, 1444, "Security Level", 10, "Off [0] (default)", "9 (Maximum)", 10,
                 std::nullopt},
        ListCase{1, 1405, "COR Polarity", 2, "Active Low [0] (default)", "Active High [1]", 0, 1},
        ListCase{2, 1414, "Squelch Type", 2, "Mic [0] (default)", "VOX [1]", 18, 1},
        ListCase{2, 1412, "Voice Prompt Delay", 10, "No Delay [0] (default)", "5 sec [9]", 0, 0},
        ListCase{3, 1413, "Telephone Line Level", 9, "0 dBm [0]", "-24 dBm [8]", 9, std::nullopt},
        ListCase{3, 1424, "VOX Threshold", 3, "VOX Off [0]", "High [3]", 9, 0},
        ListCase{3, 1424, "VOX Threshold", 3, "VOX Off [0]", "High [3]", 1, 1},
        ListCase{3, 1441, "Outgoing Ring Time", 4, "No ring [0]", "Continuous [3]", 7, 1},
        ListCase{3, 1418, "Type", 2, "Normal [0] (default)", "Satcom [1]", 0, 1},
        ListCase{3, 1420, "2 Wire / 4 Wire", 5, "2 Wire [0] (default)", "STU-III no hybrid [4]", 0,
                 0},
        ListCase{4, 1402, "COR Squelch Type", 3, "COR [0]", "VOX [2] (default)", 16, std::nullopt},
        ListCase{4, 1423, "High Frequency Equalizer", 7, "5.0 dB cut [1]", "5.0 dB boost [7]", 4,
                 3},
        ListCase{4, 1430, "Noise Reduction Value", 10, "Off (default)", "9 (Maximum)", 9, 9},
        ListCase{4, 1406, "VOX/VMR Hang Time", 8, "175 ms (VMR 775 ms) [0]", "1575 ms [7]", 3, 3},
        ListCase{4, 1421, "Mute When Squelched", 2, "Muted [0] (default)", "Not Muted [1]", 1, 0},
        ListCase{5, 1416, "VOX Threshold", 4, "VOX Off [0]", "High [3]", 7, 0},
        ListCase{5, 1441, "Outgoing Ring Time", 4, "No ring [0]", "Continuous [3]", 7,
                 std::nullopt},
        ListCase{5, 1422, "Ring Cadence", 2, "USA Style [0] (default)", "European Style [1]", 1,
                 0}));

// What reading a list back stores, from the position chosen and the value held before.
struct ReadBackCase {
  std::uint32_t mod_type;
  int control_id;
  std::optional<int> position;
  std::uint32_t before;
  std::uint32_t stored;
};

class ReadBackTable : public testing::TestWithParam<ReadBackCase> {};

TEST_P(ReadBackTable, StoresTheEntrysValue) {
  const ReadBackCase& c = GetParam();
  const SettingRow* row = find_row(*module_table(c.mod_type), c.control_id);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(read_back(*row, c.position, c.before), c.stored);
}

INSTANTIATE_TEST_SUITE_P(Modules, ReadBackTable,
                         testing::Values(ReadBackCase{1, 1408, 0, 1, 0},  // Half stores 0
                                         ReadBackCase{1, 1403, 1, 3, 9},  // Motorola stores 9
                                         ReadBackCase{3, 1424, 1, 1, 2},  // LINE-7 Low stores 2
                                         ReadBackCase{3, 1441, 2, 1, 2},  // 60 sec is word "1"
                                         ReadBackCase{4, 1423, 0, 4, 1},  // eq = position + 1
                                         ReadBackCase{4, 1402, std::nullopt, 16, 16},  // NOISE kept
                                         ReadBackCase{4, 1402, 0, 18, 14},             // COR word
                                         ReadBackCase{2, 1414, 0, 18, 24}));           // Mic word

TEST(ModuleTables, DialogsOfEachType) {
  const std::pair<std::uint32_t, std::string> expected[] = {
      {1, "Dlg_TOV"}, {2, "Dlg_MEK"}, {3, "Dlg_LINE"}, {4, "Dlg_VOQ3_800"}, {5, "Dlg_HK"}};
  for (const auto& [type, name] : expected) {
    ASSERT_NE(module_table(type), nullptr);
    EXPECT_EQ(module_table(type)->dialog_name, name);
  }
  EXPECT_EQ(module_table(0), nullptr);
  EXPECT_EQ(module_table(6), nullptr);
}

}  // namespace
}  // namespace mav
