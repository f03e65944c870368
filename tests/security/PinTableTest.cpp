// The PIN table: learning PINs from the gateway, freeing them, name look-up and the 720-byte
// image kept with the preferences.
#include <gtest/gtest.h>

#include "security/PinTable.h"

namespace mav {
namespace {

TEST(PinTable, ReportedPinsFillFreeEntriesInOrderAndKeepNames) {
  PinTable table;
  table.set_entry(1, "Dispatch", 1111, 4);
  EXPECT_TRUE(table.store_reported_pin(2222, 3));
  EXPECT_EQ(table.entry(0).pin, 2222);
  EXPECT_STREQ(table.entry(0).name, "");
  EXPECT_TRUE(table.store_reported_pin(1111, 9));
  EXPECT_EQ(table.entry(1).level, 9);
  EXPECT_STREQ(table.entry(1).name, "Dispatch");
}

TEST(PinTable, ANewPinIsLostWhenEveryEntryIsTaken) {
  PinTable table;
  for (int i = 0; i < kPinTableEntries; ++i) {
    EXPECT_TRUE(table.store_reported_pin(static_cast<std::uint16_t>(100 + i), 1));
  }
  EXPECT_FALSE(table.store_reported_pin(9999, 1));
  EXPECT_FALSE(table.find_pin_name(9999).has_value());
}

TEST(PinTable, FreedEntriesKeepNameAndPinAndStillNameThePin) {
  PinTable table;
  table.set_entry(0, "Alice", 1234, 3);
  table.set_entry(1, "Bob", 1234, 5);
  table.free_pin(1234);
  EXPECT_EQ(table.entry(0).level, kPinLevelUnused);
  EXPECT_EQ(table.entry(1).level, 5);  // only the first holder
  EXPECT_EQ(table.find_pin_name(1234), "Alice");
  table.free_all();
  EXPECT_EQ(table.entry(1).level, kPinLevelUnused);
  EXPECT_EQ(table.entry(1).pin, 1234);
  // A freed entry is reused by a new PIN, which takes it with an empty name.
  EXPECT_TRUE(table.store_reported_pin(4321, 2));
  EXPECT_EQ(table.entry(0).pin, 4321);
  EXPECT_EQ(table.find_pin_name(4321), "");
  EXPECT_EQ(table.find_pin_name(1234), "Bob");
}

TEST(PinTable, LongNamesAreCutAndOutOfRangeIndicesIgnored) {
  PinTable table;
  table.set_entry(2, std::string(40, 'x'), 7, 1);
  EXPECT_EQ(std::string(table.entry(2).name), std::string(31, 'x'));
  table.set_entry(20, "nobody", 1, 1);
  table.set_entry(-1, "nobody", 1, 1);
  EXPECT_EQ(table.entry(20).level, kPinLevelUnused);
  EXPECT_FALSE(table.find_pin_name(1).has_value());
}

TEST(PinTable, FileImageHasThirtySixBytesPerEntry) {
  PinTable table;
  table.set_entry(0, "Al", 0x1234, 7);
  table.set_entry(19, "Zed", 9999, 0);
  const auto bytes = table.to_bytes();
  ASSERT_EQ(bytes.size(), 720u);
  EXPECT_EQ(bytes[0], 'A');
  EXPECT_EQ(bytes[1], 'l');
  EXPECT_EQ(bytes[2], 0);
  EXPECT_EQ(bytes[32], 0x34);
  EXPECT_EQ(bytes[33], 0x12);
  EXPECT_EQ(bytes[34], 7);
  EXPECT_EQ(bytes[36 + 34], 10);  // entry 1 free
  EXPECT_EQ(bytes[19 * 36], 'Z');
  EXPECT_EQ(bytes[19 * 36 + 32], 9999 & 0xFF);
  EXPECT_EQ(bytes[19 * 36 + 33], 9999 >> 8);

  PinTable copy;
  copy.from_bytes(bytes);
  EXPECT_STREQ(copy.entry(19).name, "Zed");
  EXPECT_EQ(copy.entry(0).pin, 0x1234);
  EXPECT_EQ(copy.to_bytes(), bytes);
}

TEST(PinTable, UnterminatedNamesFromAFileStayInsideTheirField) {
  std::array<std::uint8_t, kPinTableBytes> bytes{};
  bytes.fill('n');
  PinTable table;
  table.from_bytes(bytes);
  EXPECT_EQ(std::string(table.entry(0).name).size(), 31u);
}

}  // namespace
}  // namespace mav
