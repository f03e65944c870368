// Configuration files on disk: the format-7 bytes at their literal offsets, the conversion of a
// hand-made format-6 file, the files that are refused, and a save killed mid-write.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <thread>

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
    record.net = GROUP_NONE;
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
  struct Field {
    std::size_t offset;
    std::int32_t value;
  };
  const Field words[] = {
      {0, 7},                          // format
      {4, 24},                         // squelch word
      {8 + 624 * 0, 0},                // port 0 mod_type
      {8 + 624 * 5, 5},                // port 5 mod_type
      {8 + 624 * 25, 1},               // port 25 mod_type
      {8 + 624 * 3 + 76, 0x01020304},  // port 3 SQUELCH_TYPE
  };
  for (const Field& f : words) EXPECT_EQ(get_i32(bytes, f.offset), f.value) << f.offset;
  EXPECT_EQ(bytes[8 + 624 * 3 + 70], 9);  // RADIO_TYPE
  EXPECT_EQ(get_text(bytes, 8 + 624 * 7 + 88), "Port 7");
  EXPECT_EQ(get_text(bytes, 8 + 624 * 25 + 88), "Port 25");
  EXPECT_EQ(get_text(bytes, 16232), "Dispatch");
  EXPECT_EQ(bytes[16232 + 32], 0xD2);
  EXPECT_EQ(bytes[16233 + 32], 0x04);
  EXPECT_EQ(bytes[16952], 12);
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
  for (std::size_t offset = 70; offset < 88; ++offset) {
    bytes[record + offset] = static_cast<std::uint8_t>(offset);
  }
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
  const std::pair<std::size_t, int> expected[] = {{67, 1},  {70, 9},  {71, 70}, {72, 71}, {73, 72},
                                                  {74, 73}, {75, 0},  {76, 76}, {77, 77}, {78, 78},
                                                  {79, 79}, {80, 80}, {81, 0},  {82, 0},  {83, 82},
                                                  {84, 83}, {85, 84}, {86, 85}, {87, 86}};
  for (const auto& [offset, value] : expected) {
    EXPECT_EQ(image[converted + offset], value) << "offset " << offset;
  }
  EXPECT_EQ(get_i32(image, converted), 3);
  EXPECT_EQ(get_text(image, converted + 88), "Old line");
  EXPECT_EQ(get_text(image, 16232), "Supervisor");
  EXPECT_EQ(image[16952], 13);
}

TEST(ConfigFile, OtherVersionsAndShortFilesAreRefused) {
  const test::ScratchDirectory dir;
  const Bytes valid = EncodeConfiguration(sample());
  auto with_version = [&](std::int32_t version, std::size_t size) {
    Bytes bytes = valid;
    bytes.resize(size);
    if (size >= 4) put_i32(bytes, 0, version);
    return bytes;
  };
  const struct {
    const char* what;
    Bytes bytes;
    ConfigFileStatus status;
  } cases[] = {
      {"version 8", with_version(8, 16953), ConfigFileStatus::Incompatible},
      {"version 5", with_version(5, 16953), ConfigFileStatus::Incompatible},
      {"empty", {}, ConfigFileStatus::Incompatible},
      {"three bytes", with_version(7, 3), ConfigFileStatus::Incompatible},
      {"version 7 one byte short", with_version(7, 16952), ConfigFileStatus::Incompatible},
      {"version 6 one byte short", with_version(6, 16948), ConfigFileStatus::Incompatible},
      {"version 6 exactly", with_version(6, 16949), ConfigFileStatus::Read},
      {"version 7 with trailing bytes", with_version(7, 20000), ConfigFileStatus::Read},
  };
  for (const auto& c : cases) {
    write_bytes(dir / "f.mav", c.bytes);
    Configuration config;
    EXPECT_EQ(ReadConfiguration(dir / "f.mav", config), c.status) << c.what;
  }
  Configuration config;
  EXPECT_EQ(ReadConfiguration(dir / "missing.mav", config), ConfigFileStatus::CannotOpen);
}

// A writer killed at any moment leaves the previous complete file or the new one, never a mix or
// a truncated file.
TEST(ConfigFile, KilledWriterLeavesAWholeFile) {
  const test::ScratchDirectory dir;
  const std::filesystem::path file = dir / "AutoS1.mav";
  Configuration first = sample();
  Configuration second = sample();
  second.security_mode = 11;
  std::strcpy(second.ports[9].port_name, "Changed");
  ASSERT_TRUE(WriteConfiguration(file, first));
  const Bytes images[] = {EncodeConfiguration(first), EncodeConfiguration(second)};

  for (int round = 0; round < 8; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i) WriteConfiguration(file, i % 2 ? first : second);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20 + 7 * round));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    const Bytes on_disk = read_bytes(file);
    EXPECT_TRUE(on_disk == images[0] || on_disk == images[1]) << "round " << round;
  }
}

}  // namespace
}  // namespace mav
