// The port record as the bytes of a configuration file record: where each settings keyword's
// value lands, what an unreported port holds, and what the device model's reset, setters and
// monitor lists change. Text cut to a field's byte size ends on a character boundary, so it
// reads back as valid UTF-8.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "RecordImage.h"
#include "model/SettingsFields.h"
#include "model/TextField.h"
#include "vocabulary/Vocabulary.h"

namespace mav {
namespace {

using test::ExpectFields;
using test::FieldAt;
using test::ImageOf;
using test::RecordOf;

// Where each keyword's value sits, and what a port the gateway has not reported holds there.
struct SettingSlot {
  std::string_view keyword;
  std::size_t offset, width;
  int reset;  // kKept: a reset leaves the byte as it was
};
constexpr int kKept = -1;

// clang-format off
constexpr SettingSlot kSettings[] = {
    {"2W_4W", 40, 1, 0},             {"DELAY_TIME", 41, 1, 0},        {"EQ", 42, 1, 1},
    {"AUTO_ANS", 43, 1, 1},          {"CALLING_TIME", 44, 4, 1},      {"CONF", 48, 1, 0},
    {"COR_INHIBIT", 49, 1, 0},       {"COR_POLARITY", 50, 1, 1},      {"COR_SAMPLING", 51, 1, 1},
    {"COR_SAMP_DELAY", 52, 1, 0},    {"COR_SAMP_INTERVAL", 53, 1, 0}, {"COR_SAMP_WIDTH", 54, 1, 0},
    {"DB_TONE", 55, 1, 0},           {"DIAL_TONE_ENABLE", 56, 1, 1},  {"DIAL_TONE_WAIT", 57, 1, 1},
    {"DTMF_MUTE_TIME", 58, 1, 0},    {"DUPLEX", 59, 1, 1},            {"KEYING_TONES", 60, 1, 0},
    {"TONE_KEY_AMP", 61, 1, 3},      {"ON_HOOK", 62, 1, 1},           {"OP", 63, 1, 0},
    {"PEAKER", 64, 1, 0},            {"PROMPT_DELAY", 65, 1, kKept},  {"PROMPT_LANG", 66, 1, kKept},
    {"LINE_TYPE", 67, 1, 1},         {"LINE_TIMEOUT", 68, 1, 3},      {"PTT_PRIORITY", 69, 1, 0},
    {"RADIO_TYPE", 70, 1, 0},        {"RINGBACK_ENABLE", 71, 1, 1},   {"RX_LEVEL", 72, 1, 3},
    {"RX_SQUELCH", 73, 1, 1},        {"SECURITY_LEVEL", 74, 1, 0},    {"SQUELCH_TYPE", 76, 4, 18},
    {"DIAL_MODE", 80, 1, 1},         {"TRUNK_TYPE", 82, 1, 0},        {"TX_LEVEL", 83, 1, 3},
    {"USER_CONTROL", 84, 1, 1},      {"RING_CADENCE", 85, 1, 1},      {"VMR_THRESH", 86, 1, 1},
    {"VMR_HANG", 87, 1, 3}};
// clang-format on

// The settings of an unreported module; kept bytes and the first reserved byte hold fill.
void ExpectResetSettings(const test::RecordImage& image, std::uint8_t fill) {
  for (const SettingSlot& slot : kSettings) {
    const auto expected = slot.reset == kKept ? fill : static_cast<std::uint32_t>(slot.reset);
    EXPECT_EQ(FieldAt(image, slot.offset, slot.width), expected) << slot.keyword;
  }
  EXPECT_EQ(image[75], fill);
  EXPECT_EQ(image[81], 0);
}

TEST(SettingsByKeyword, EachKeywordWritesOnlyItsOwnBytes) {
  for (const SettingSlot& slot : kSettings) {
    SCOPED_TRACE(slot.keyword);
    const int keyword = lookup_keyword(slot.keyword);
    PortRecord record{};
    ASSERT_TRUE(store_setting(record.settings, keyword, 0xA1B2C3D4));
    const auto after = ImageOf(record);
    for (std::size_t offset = 0; offset < after.size(); ++offset) {
      if (offset < slot.offset || offset >= slot.offset + slot.width) {
        ASSERT_EQ(after[offset], 0) << offset;
      }
    }
    const std::uint32_t expected = slot.width == 4 ? 0xA1B2C3D4u : 0xD4u;
    EXPECT_EQ(FieldAt(after, slot.offset, slot.width), expected);
    EXPECT_EQ(read_setting(record.settings, keyword), expected);
  }
  PortRecord record{};
  for (int keyword : {0, -1, 68, 1000, lookup_keyword("CONNECT_S"),
                      lookup_keyword("MEK_SQUELCH_TYPE"), lookup_keyword("COR_LED")}) {
    EXPECT_FALSE(store_setting(record.settings, keyword, 7)) << keyword;
    EXPECT_FALSE(read_setting(record.settings, keyword).has_value()) << keyword;
  }
  EXPECT_EQ(ImageOf(record), ImageOf(PortRecord{}));
  std::memset(&record.settings, 0xEE, sizeof record.settings);
  reset_settings(record.settings);
  ExpectResetSettings(ImageOf(record), 0xEE);
}

TEST(DeviceModel, FreshAndResetPortsHoldNoModuleAndTheResetValues) {
  DeviceModel fresh;
  EXPECT_EQ(fresh.format_version(), 7u);
  for (int port = 0; port < kPortCount; ++port) {
    SCOPED_TRACE(port);
    const auto image = ImageOf(RecordOf(fresh, port));
    // No module, net, bus, link, DISCH group, monitor, name, custom icon or pending partner;
    // the gray preset icon.
    // clang-format off
    ExpectFields(image, {{0, 4, 0}, {4, 2, 65}, {6, 2, 65}, {8, 2, 65}, {10, 2, 65}, {13, 1, 129},
        {88, 1, 0}, {344, 1, 0}, {345, 1, 1}, {348, 4, 0xFFFFFFFF}, {352, 1, 0}, {620, 2, 129},
        {622, 2, 65}});
    // clang-format on
    ExpectResetSettings(image, 0);
  }
  for (const bool keep : {true, false}) {
    SCOPED_TRACE(keep);
    DeviceModel model;
    PortRecord record;
    std::memset(&record, 0x11, sizeof record);  // a port in use in every field
    std::strcpy(record.port_name, "Dispatch");
    std::strcpy(record.icon_path, "/icons/tower.bmp");
    model.SetPort(4, record);
    model.Reset(keep);
    const PortRecord back = RecordOf(model, 4);
    // Cleared: module, bus, link, DISCH group, monitors, TX_LEVEL, COR, PTT, both steps and the
    // pending partner and bus. Renumbering, not the reset, clears a net; the permanent mark,
    // ringing and the prompt settings stay. Names and icons stay only when asked.
    // clang-format off
    ExpectFields(ImageOf(back), {{0, 4, 0}, {6, 2, 65}, {8, 2, 65}, {10, 2, 65}, {13, 1, 129},
        {83, 1, 3}, {608, 1, 0}, {609, 1, 0}, {612, 4, 0}, {616, 4, 0}, {620, 2, 129},
        {622, 2, 65}, {4, 2, 0x1111}, {12, 1, 0x11}, {610, 1, 0x11}, {65, 1, 0x11}, {66, 1, 0x11},
        {344, 1, keep ? 0x11u : 0u}, {345, 1, keep ? 0x11u : 1u},
        {348, 4, keep ? 0x11111111u : 0xFFFFFFFFu}});
    // clang-format on
    EXPECT_STREQ(back.port_name, keep ? "Dispatch" : "");
    EXPECT_STREQ(back.icon_path, keep ? "/icons/tower.bmp" : "");
  }
}

TEST(DeviceModel, PortsOutsideTheTableCopyNothing) {
  DeviceModel model;
  PortRecord record{};
  std::memset(&record, 0x5A, sizeof record);
  const auto untouched = ImageOf(record);
  for (int port : {-1, 26, 129}) {
    EXPECT_FALSE(model.GetPort(port, record)) << port;
    EXPECT_FALSE(model.SetPort(port, record)) << port;
    EXPECT_FALSE(model.SetSetting(port, kw::TX_LEVEL, 1)) << port;
    EXPECT_FALSE(model.HasModule(port)) << port;
    EXPECT_EQ(model.MonitorCount(port), 0) << port;
  }
  EXPECT_EQ(ImageOf(record), untouched);
  EXPECT_EQ(model.CountModules(), 0);
}

TEST(DeviceModel, SetSettingDialModeRuleAndIndicatorBits) {
  DeviceModel model;
  EXPECT_TRUE(model.SetSetting(25, kw::TX_LEVEL, 0x105));
  EXPECT_TRUE(model.SetSetting(25, kw::SQUELCH_TYPE, 17));
  ExpectFields(ImageOf(RecordOf(model, 25)), {{83, 1, 0x05}, {76, 4, 17}});
  // "DTMF" is tone dialling; "PULSE" and any other word pulse dialling.
  for (const auto& [word, stored] : {std::pair{20u, 0}, {19u, 1}, {1u, 0}}) {
    EXPECT_TRUE(model.SetSetting(3, kw::DIAL_MODE, word));
    EXPECT_EQ(ImageOf(RecordOf(model, 3))[80], stored) << word;
  }
  const auto before = ImageOf(RecordOf(model, 3));
  EXPECT_FALSE(model.SetSetting(3, kw::CONNECT_S, 1));
  EXPECT_FALSE(model.SetSetting(3, kw::MEK_SQUELCH_TYPE, 24));
  EXPECT_EQ(ImageOf(RecordOf(model, 3)), before);

  for (int port : {0, 12, 25}) {
    PortRecord record = RecordOf(model, port);
    record.cor_active = record.ptt_active = record.ring_active = 1;
    model.SetPort(port, record);
  }
  model.ClearCorBits();
  ExpectFields(ImageOf(RecordOf(model, 12)), {{608, 1, 0}, {609, 1, 1}, {610, 1, 1}});
  model.ClearPttBits();
  for (int port : {0, 25}) {
    ExpectFields(ImageOf(RecordOf(model, port)), {{608, 1, 0}, {609, 1, 0}, {610, 1, 1}});
  }
}

std::vector<int> Monitors(const PortRecord& record) {
  std::vector<int> entries;
  for (int i = 0; i < 27 && record.monitors[i] != 129; ++i) entries.push_back(record.monitors[i]);
  return entries;
}

// Removing moves the last entry into the gap. A record from a damaged file may have no end mark
// at all: nothing may read past the list.
TEST(MonitorList, ArrivalOrderTwentySixPortsAndAListWithoutEndMark) {
  DeviceModel model;
  PortRecord record = RecordOf(model, 8);
  for (int port : {4, 9, 11}) EXPECT_TRUE(AddMonitor(record, port));
  model.SetPort(8, record);
  EXPECT_EQ(model.MonitorCount(8), 3);
  EXPECT_TRUE(model.IsMonitoring(8, 9));
  EXPECT_FALSE(model.IsMonitoring(9, 8));
  EXPECT_TRUE(RemoveMonitor(record, 4));
  EXPECT_EQ(Monitors(record), (std::vector<int>{11, 9}));
  EXPECT_FALSE(RemoveMonitor(record, 4));

  record = RecordOf(model, 0);
  EXPECT_FALSE(AddMonitor(record, 26));
  EXPECT_FALSE(AddMonitor(record, -1));
  for (int port = 0; port < 26; ++port) ASSERT_TRUE(AddMonitor(record, port));
  EXPECT_FALSE(AddMonitor(record, 3));
  EXPECT_EQ(Monitors(record).size(), 26u);
  for (auto& slot : record.monitors) slot = 5;
  record.monitors[26] = 6;
  model.SetPort(0, record);
  EXPECT_EQ(model.MonitorCount(0), 27);
  EXPECT_TRUE(model.IsMonitoring(0, 6));
  EXPECT_FALSE(AddMonitor(record, 1));
  EXPECT_TRUE(RemoveMonitor(record, 6));
  EXPECT_EQ(record.monitors[26], 129);
}

TEST(TextField, ACutNeverSplitsACharacter) {
  const struct {
    std::string text;
    std::size_t bytes;
    std::string kept;
  } cases[] = {
      {"LINE-7", 21, "LINE-7"},
      {"Zentrale Müllerstraße 5", 21, "Zentrale Müllerstra"},  // "ß" would need bytes 20-21
      {"abcü", 4, "abc"},
      {"ab\xF0\x9F\x93\x9E", 5, "ab"},  // a four-byte character
      {"ab\xF0\x9F\x93\x9E", 6, "ab\xF0\x9F\x93\x9E"},
      {std::string(10, '\x80'), 4, std::string(4, '\x80')},  // no UTF-8: cut at the size
  };
  for (const auto& c : cases) EXPECT_EQ(FitText(c.text, c.bytes), c.kept) << c.text;
  EXPECT_EQ(CountCharacters("€€"), 2u);
}

TEST(TextField, A300BytePortNameIsKeptUpToItsLastWholeCharacter) {
  std::string name;
  for (int i = 0; i < 150; ++i) name += "ä";  // 300 bytes
  PortRecord record{};
  StoreText(record.port_name, name);
  EXPECT_EQ(std::string(record.port_name), name.substr(0, 254));
  EXPECT_EQ(record.port_name[254], '\0');

  // A full field read from a file ends on a whole character too.
  std::memcpy(record.icon_path, name.data(), sizeof record.icon_path);
  TerminateText(record.icon_path);
  EXPECT_EQ(std::string(record.icon_path), name.substr(0, 254));
}

}  // namespace
}  // namespace mav
