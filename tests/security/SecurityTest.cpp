// The password rules, the PIN table and what the PIN settings' OK sends to the gateway.
#include <gtest/gtest.h>

#include <string>

#include "security/PasswordRules.h"
#include "security/PinSettings.h"
#include "security/PinTable.h"

namespace mav {
namespace {

TEST(PasswordRules, ComparisonAndNewPasswordVerdicts) {
  const std::string x259(259, 'x');
  // clang-format off
  for (const auto& [typed, password, matches] :
       {std::tuple<std::string, std::string, bool>{"Secret1", "Secret1", true},
        {"secret1", "Secret1", false}, {"Secret", "Secret1", false}, {"Secret12", "Secret1", false},
        {"", "Secret1", false}, {"Secret1", "", false}, {"Secret1Secret1", "Secret1", false},
        {std::string("Sec\0et1", 7), "Secret1", false}, {x259, x259, true}}) {
    EXPECT_EQ(password_matches(typed, password), matches) << typed << " / " << password;
  }
  const char* const kShort = "The password must be at least 4 characters";
  const char* const kMismatch = "Confirmation doesn't match password entry";
  for (const auto& [entry, confirmation, message] :
       {std::tuple{"abc", "abc", kShort}, {"abc", "abcd", kShort}, {"", "", kShort},
        {"abcd", "abce", kMismatch}, {"abcd", "", kMismatch},
        {"abcd", "abcd", "Password changed"}}) {
    EXPECT_STREQ(verdict_message(judge_new_password(entry, confirmation)), message) << entry;
  }
  // clang-format on
}

TEST(PinTable, ReportedFreedAndLookedUp) {
  PinTable table;
  table.set_entry(1, "Dispatch", 1111, 4);
  // The first free entry, with an empty name; a known PIN keeps its entry and name.
  EXPECT_TRUE(table.store_reported_pin(2222, 3) && table.store_reported_pin(1111, 9));
  EXPECT_EQ(
      std::tuple(int{table.entry(0).pin}, int{table.entry(1).level}, table.find_pin_name(1111)),
      std::tuple(2222, 9, "Dispatch"));

  table.set_entry(0, "Alice", 1234, 3);
  table.set_entry(1, "Bob", 1234, 5);
  table.free_pin(1234);  // only the first holder; freed entries keep name and PIN
  EXPECT_EQ(
      std::tuple(int{table.entry(0).level}, int{table.entry(1).level}, table.find_pin_name(1234)),
      std::tuple(int{kPinLevelUnused}, 5, "Alice"));
  table.free_all();
  EXPECT_EQ(table.entry(1).level, kPinLevelUnused);
  EXPECT_TRUE(table.store_reported_pin(4321, 2));
  EXPECT_EQ(
      std::tuple(int{table.entry(0).pin}, table.find_pin_name(4321), table.find_pin_name(1234)),
      std::tuple(4321, "", "Bob"));

  table.set_entry(2, std::string(40, 'x'), 7, 1);
  EXPECT_EQ(std::string(table.entry(2).name), std::string(31, 'x'));
  table.set_entry(20, "nobody", 1, 1);
  table.set_entry(-1, "nobody", 1, 1);
  EXPECT_EQ(table.entry(20).level, kPinLevelUnused);
  EXPECT_FALSE(table.find_pin_name(1).has_value());

  for (int i = 2; i < kPinTableEntries; ++i) {
    EXPECT_TRUE(table.store_reported_pin(static_cast<std::uint16_t>(100 + i), 1));
  }
  EXPECT_FALSE(table.store_reported_pin(9999, 1));  // every entry taken: the PIN is lost
  EXPECT_FALSE(table.find_pin_name(9999).has_value());
}

TEST(PinTable, FileImage) {
  PinTable table;
  table.set_entry(0, "Al", 0x1234, 7);
  table.set_entry(19, "Zed", 9999, 0);
  const auto bytes = table.to_bytes();
  // clang-format off
  for (const auto& [offset, value] : {std::pair{0, 'A'}, {1, 'l'}, {2, 0}, {32, 0x34}, {33, 0x12},
       {34, 7}, {36 + 34, 10}, {19 * 36, 'Z'}, {19 * 36 + 32, 0x0F}, {19 * 36 + 33, 0x27}}) {
    EXPECT_EQ(bytes[static_cast<std::size_t>(offset)], value) << offset;
  }
  // clang-format on
  PinTable copy;
  copy.from_bytes(bytes);
  EXPECT_EQ(copy.to_bytes(), bytes);

  std::array<std::uint8_t, kPinTableBytes> unterminated{};
  unterminated.fill('n');
  copy.from_bytes(unterminated);
  EXPECT_EQ(std::string(copy.entry(0).name).size(), 31u);
}

TEST(PinSettings, ModeThenDeletionThenTheValidRowsInOrder) {
  for (const auto& [mode, word] :
       {std::pair{11, "OFF"}, {12, "EXCLUSIVE"}, {13, "PRIORITY"}, {0, ""}, {25, ""}, {-1, ""}}) {
    const PinSettingsOrder order = pin_settings_order(mode, std::vector<PinRowText>(20));
    std::vector<std::string> lines{"DEL_PIN ALL\r"};
    if (*word) lines.insert(lines.begin(), std::string("SECURITY_MODE ") + word + "\r");
    EXPECT_EQ(order.lines, lines) << mode;
    EXPECT_EQ(order.mode.has_value(), *word != 0) << mode;
    EXPECT_TRUE(order.entries.empty());
  }
  // The 16th digit of a PIN is not read.
  // clang-format off
  std::vector<PinRowText> rows = {{"TooHigh", "10000", "1"}, {"Bob", "42", "3"},
      {"LevelTen", "1111", "10"}, {"Carol", "9999", "9"}, {"NoLevel", "2222", ""},
      {"NoPin", "", "2"}, {"Letters", "12a4", "2"}, {"Signed", "-5", "2"}, {"Zero", "0000", "0"},
      {"Padded", "000000000000005", "1"}, {"PastFifteen", "0000000000000007", "1"}};
  // clang-format on
  rows.resize(20);
  rows[19] = {std::string(40, 'n'), "1234", "5"};
  const PinSettingsOrder order = pin_settings_order(12, rows);
  std::string lines;
  for (const std::string& line : order.lines) lines += line;
  EXPECT_EQ(lines,
            "SECURITY_MODE EXCLUSIVE\rDEL_PIN ALL\rPIN 0042 3\rPIN 9999 9\rPIN 0000 0\rPIN 0005 1\r"
            "PIN 0000 1\rPIN 1234 5\r");
  ASSERT_EQ(order.entries.size(), 6u);
  EXPECT_STREQ(order.entries[1].name, "Carol");
  EXPECT_EQ(std::tuple(std::string(order.entries[5].name), order.entries[5].pin,
                       int{order.entries[5].level}),
            std::tuple(std::string(31, 'n'), 1234, 5));
}

// Beyond ASCII the minimum length counts characters, and a cut keeps whole characters.
TEST(PasswordText, TheMinimumCountsCharactersAndTheCutKeepsWholeOnes) {
  EXPECT_EQ(judge_new_password("€€", "€€"), NewPasswordVerdict::TooShort);
  EXPECT_EQ(judge_new_password("€€€€", "€€€€"), NewPasswordVerdict::Accepted);

  std::string typed;
  for (int i = 0; i < 100; ++i) typed += "€";  // 300 bytes
  const std::string kept(kept_password(typed));
  EXPECT_EQ(kept, typed.substr(0, 258));
  EXPECT_TRUE(password_matches(typed, kept));

  PinTable pins;
  pins.set_entry(0, "Überwachungsstation Nord-Straße", 1234, 3);
  EXPECT_STREQ(pins.entry(0).name, "Überwachungsstation Nord-Stra");
}

}  // namespace
}  // namespace mav
