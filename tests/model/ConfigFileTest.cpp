// Configuration files on disk: the format-7 bytes at their literal offsets, the conversion of a
// hand-made format-6 file and the files that are refused.
#include <gtest/gtest.h>

#include <cstring>

#include "model/ConfigFile.h"
#include "support/FileBytes.h"
#include "support/ScratchDirectory.h"

namespace mav {
namespace {

using test::Bytes;
using test::get_i32;
using test::get_text;
using test::put_i32;
using test::read_bytes;
using test::write_bytes;

Configuration sample() {
  Configuration config;
  config.mek_squelch_type = 24;
  for (int p = 0; p < kPortCount; ++p) {
    PortRecord& record = config.ports[static_cast<std::size_t>(p)];
    record.mod_type = static_cast<std::uint32_t>(p % 6);
    std::snprintf(record.port_name, sizeof record.port_name, "Port %d", p);
  }
  config.ports[3].settings.radio_type = 9;
  config.ports[3].settings.squelch_type = 0x01020304;
  std::memcpy(config.pin_table.data(), "Dispatch", 8);
  config.pin_table[32] = 0xD2;  // PIN 1234, little-endian
  config.pin_table[33] = 0x04;
  config.security_mode = 12;
  return config;
}

TEST(ConfigFile, WrittenFileHasEveryFieldAtItsOffset) {
  const test::ScratchDirectory dir;
  ASSERT_TRUE(WriteConfiguration(dir / "a.mav", sample()));
  const Bytes bytes = read_bytes(dir / "a.mav");
  ASSERT_EQ(bytes.size(), 16953u);
  // format, squelch word, mod_type of ports 0, 5 and 25, port 3's SQUELCH_TYPE
  for (const auto& [offset, value] : {std::pair{0, 7},
                                      {4, 24},
                                      {8, 0},
                                      {8 + 624 * 5, 5},
                                      {8 + 624 * 25, 1},
                                      {8 + 624 * 3 + 76, 0x01020304}}) {
    EXPECT_EQ(get_i32(bytes, offset), value) << offset;
  }
  EXPECT_EQ(bytes[8 + 624 * 3 + 70], 9);  // RADIO_TYPE
  EXPECT_EQ(get_text(bytes, 8 + 624 * 7 + 88) + "|" + get_text(bytes, 8 + 624 * 25 + 88) + "|" +
                get_text(bytes, 16232),
            "Port 7|Port 25|Dispatch");
  EXPECT_EQ((Bytes{bytes[16264], bytes[16265], bytes[16952]}), (Bytes{0xD2, 0x04, 12}));
  EXPECT_FALSE(std::filesystem::exists(dir / "a.mav.tmp"));

  Configuration back;
  ASSERT_EQ(ReadConfiguration(dir / "a.mav", back), ConfigFileStatus::Read);
  EXPECT_EQ(EncodeConfiguration(back), bytes);
}

// A format-6 file made by hand: port 2's settings tail holds distinct marker bytes.
TEST(ConfigFile, FormatSixRecordsMoveTheirSettingsBytes) {
  Bytes bytes(16949, 0);
  put_i32(bytes, 0, 6);
  const std::size_t record = 4 + 624 * 2;
  put_i32(bytes, record, 3);  // LINE-7
  bytes[record + 67] = 4;     // LINE_TYPE, normalised to 1
  for (std::size_t offset = 70; offset < 88; ++offset) bytes[record + offset] = offset & 0xFF;
  bytes[record + 81] = 9;  // RADIO_TYPE
  test::put_text(bytes, record + 88, "Old line");
  test::put_text(bytes, 16228, "Supervisor");
  bytes[16948] = 13;
  const test::ScratchDirectory dir;
  write_bytes(dir / "old.mav", bytes);

  Configuration config;
  ASSERT_EQ(ReadConfiguration(dir / "old.mav", config), ConfigFileStatus::Read);
  const Bytes image = EncodeConfiguration(config);
  const std::size_t converted = 8 + 624 * 2;
  EXPECT_EQ(image[converted + 67], 1);
  EXPECT_EQ(Bytes(image.begin() + converted + 70, image.begin() + converted + 88),
            (Bytes{9, 70, 71, 72, 73, 0, 76, 77, 78, 79, 80, 0, 0, 82, 83, 84, 85, 86}));
  EXPECT_EQ(std::tuple(get_i32(image, converted), get_text(image, converted + 88),
                       get_text(image, 16232), int{image[16952]}),
            std::tuple(3, "Old line", "Supervisor", 13));
}

TEST(ConfigFile, OtherVersionsAndShortFilesAreRefused) {
  const test::ScratchDirectory dir;
  const Bytes valid = EncodeConfiguration(sample());
  const auto Read = ConfigFileStatus::Read;
  const auto Refused = ConfigFileStatus::Incompatible;
  for (const auto& [version, size, status] : {std::tuple{8, 16953, Refused},
                                              {5, 16953, Refused},
                                              {7, 0, Refused},
                                              {7, 3, Refused},
                                              {7, 16952, Refused},
                                              {6, 16948, Refused},
                                              {6, 16949, Read},
                                              {7, 20000, Read}}) {
    Bytes bytes = valid;
    bytes.resize(static_cast<std::size_t>(size));
    if (size >= 4) put_i32(bytes, 0, version);
    write_bytes(dir / "f.mav", bytes);
    Configuration config;
    EXPECT_EQ(ReadConfiguration(dir / "f.mav", config), status) << version << " " << size;
  }
  Configuration config;
  EXPECT_EQ(ReadConfiguration(dir / "missing.mav", config), ConfigFileStatus::CannotOpen);
}

}  // namespace
}  // namespace mav
