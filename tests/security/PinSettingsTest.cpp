// What OK makes of the PIN users' rows and the security mode: the lines for the gateway, in
// order, and the packed PIN table entries.
#include "security/PinSettings.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

namespace mav {
namespace {

using Rows = std::array<PinRowText, kPinTableEntries>;

std::vector<std::tuple<std::string, int, int>> entries_of(const PinSettingsOrder& order) {
  std::vector<std::tuple<std::string, int, int>> entries;
  for (const PinUser& user : order.entries) entries.emplace_back(user.name, user.pin, user.level);
  return entries;
}

TEST(PinSettings, CheckedModeComesFirstThenDeletionThenValidRowsInOrder) {
  const struct {
    int mode;
    std::vector<std::string> first_lines;
  } cases[] = {
      {11, {"SECURITY_MODE OFF\r", "DEL_PIN ALL\r"}},
      {12, {"SECURITY_MODE EXCLUSIVE\r", "DEL_PIN ALL\r"}},
      {13, {"SECURITY_MODE PRIORITY\r", "DEL_PIN ALL\r"}},
      {0, {"DEL_PIN ALL\r"}},
      {25, {"DEL_PIN ALL\r"}},
      {-1, {"DEL_PIN ALL\r"}},
  };
  for (const auto& c : cases) {
    const PinSettingsOrder order = pin_settings_order(c.mode, Rows{});
    EXPECT_EQ(order.lines, c.first_lines) << c.mode;
    EXPECT_EQ(order.mode.has_value(), c.first_lines.size() == 2) << c.mode;
    EXPECT_TRUE(order.entries.empty());
  }
}

TEST(PinSettings, InvalidRowsAreDroppedAndValidOnesPacked) {
  Rows rows;
  rows[0] = {"TooHigh", "10000", "1"};
  rows[1] = {"Bob", "42", "3"};
  rows[2] = {"LevelTen", "1111", "10"};
  rows[3] = {"Carol", "1234", "9"};
  rows[4] = {"NoLevel", "2222", ""};
  rows[5] = {"NoPin", "", "2"};
  rows[6] = {"Letters", "12a4", "2"};
  rows[7] = {"Signed", "-5", "2"};
  rows[8] = {"Zero", "0000", "0"};
  rows[9] = {"Padded", "000000000000005", "1"};
  rows[10] = {"PastFifteen", "0000000000000007", "1"};  // the 16th digit is not read
  rows[19] = {std::string(40, 'n'), "9999", "5"};
  const PinSettingsOrder order = pin_settings_order(12, rows);
  EXPECT_EQ(order.lines,
            (std::vector<std::string>{"SECURITY_MODE EXCLUSIVE\r", "DEL_PIN ALL\r", "PIN 0042 3\r",
                                      "PIN 1234 9\r", "PIN 0000 0\r", "PIN 0005 1\r",
                                      "PIN 0000 1\r", "PIN 9999 5\r"}));
  EXPECT_EQ(entries_of(order),
            (std::vector<std::tuple<std::string, int, int>>{{"Bob", 42, 3},
                                                            {"Carol", 1234, 9},
                                                            {"Zero", 0, 0},
                                                            {"Padded", 5, 1},
                                                            {"PastFifteen", 0, 1},
                                                            {std::string(31, 'n'), 9999, 5}}));
  EXPECT_EQ(order.mode, 12);
}

}  // namespace
}  // namespace mav
