// The record's byte image is the configuration file's record: every field and every settings
// keyword must land at its file offset, and a fresh or reset record holds the values of a port
// the gateway has not reported yet.
#include <gtest/gtest.h>

#include <string_view>

#include "RecordImage.h"
#include "model/SettingsFields.h"
#include "vocabulary/Vocabulary.h"

namespace mav {
namespace {

using test::ExpectFields;
using test::FieldAt;
using test::ImageOf;

TEST(RecordImage, EveryFieldSitsAtItsFileOffset) {
  PortRecord record{};
  record.mod_type = 0x04030201;
  record.net = 0x0605;
  record.bus = 0x0807;
  record.bus_link = 0x0A09;
  record.disch_group = 0x0C0B;
  record.perm_conn = 0x0D;
  record.monitors[0] = 0x0E;
  record.monitors[26] = 0x0F;
  record.settings.two_w_four_w = 0x10;
  record.settings.vmr_hang = 0x11;
  record.port_name[0] = 'N';
  record.port_name[255] = 'Z';
  record.icon_color = 0x12;
  record.icon_preset = 0x13;
  record.icon_id = -2;
  record.icon_path[0] = 'P';
  record.icon_path[255] = 'Q';
  record.cor_active = 0x14;
  record.ptt_active = 0x15;
  record.ring_active = 0x16;
  record.disch_step = 0x1A191817;
  record.connect_step = 0x1E1D1C1B;
  record.pending_partner = 0x201F;
  record.pending_bus = 0x2221;

  const auto image = ImageOf(record);
  ASSERT_EQ(image.size(), 624u);
  ExpectFields(
      image, {{0, 4, 0x04030201},   {4, 2, 0x0605},       {6, 2, 0x0807},       {8, 2, 0x0A09},
              {10, 2, 0x0C0B},      {12, 1, 0x0D},        {13, 1, 0x0E},        {39, 1, 0x0F},
              {40, 1, 0x10},        {87, 1, 0x11},        {88, 1, 'N'},         {343, 1, 'Z'},
              {344, 1, 0x12},       {345, 1, 0x13},       {348, 4, 0xFFFFFFFE}, {352, 1, 'P'},
              {607, 1, 'Q'},        {608, 1, 0x14},       {609, 1, 0x15},       {610, 1, 0x16},
              {612, 4, 0x1A191817}, {616, 4, 0x1E1D1C1B}, {620, 2, 0x201F},     {622, 2, 0x2221}});
}

// Where each keyword's value sits, and what a port the gateway has not reported holds there.
struct SettingSlot {
  std::string_view keyword;
  std::size_t offset;
  std::size_t width;
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

// The settings of an unreported module; kept bytes and the first reserved byte must be fill.
void ExpectResetSettings(const test::RecordImage& image, std::uint8_t fill) {
  for (const SettingSlot& slot : kSettings) {
    const auto expected = slot.reset == kKept ? fill : static_cast<std::uint32_t>(slot.reset);
    EXPECT_EQ(FieldAt(image, slot.offset, slot.width), expected) << slot.keyword;
  }
  EXPECT_EQ(image[75], fill);
  EXPECT_EQ(image[81], 0);
}

// Each keyword's value must change exactly its own bytes of the image and nothing else.
TEST(SettingsByKeyword, EachKeywordWritesOnlyItsOwnBytes) {
  for (const SettingSlot& slot : kSettings) {
    SCOPED_TRACE(slot.keyword);
    const int keyword = lookup_keyword(slot.keyword);
    ASSERT_GT(keyword, 0);

    PortRecord record{};
    const auto before = ImageOf(record);
    ASSERT_TRUE(store_setting(record.settings, keyword, 0xA1B2C3D4));
    const auto after = ImageOf(record);
    for (std::size_t offset = 0; offset < after.size(); ++offset) {
      if (offset < slot.offset || offset >= slot.offset + slot.width) {
        ASSERT_EQ(after[offset], before[offset]) << "offset " << offset;
      }
    }
    const std::uint32_t expected = slot.width == 4 ? 0xA1B2C3D4u : 0xD4u;
    EXPECT_EQ(FieldAt(after, slot.offset, slot.width), expected);
    EXPECT_EQ(read_setting(record.settings, keyword), expected);
  }
}

TEST(SettingsByKeyword, KeywordsThatAreNoSettingsFieldAreRefused) {
  PortRecord record{};
  const auto before = ImageOf(record);
  for (int keyword : {0, -1, 68, 1000, lookup_keyword("CONNECT_S"),
                      lookup_keyword("MEK_SQUELCH_TYPE"), lookup_keyword("COR_LED")}) {
    SCOPED_TRACE(keyword);
    EXPECT_FALSE(store_setting(record.settings, keyword, 7));
    EXPECT_FALSE(read_setting(record.settings, keyword).has_value());
  }
  EXPECT_EQ(ImageOf(record), before);
}

TEST(SettingsByKeyword, ResetGivesTheValuesOfAnUnreportedModule) {
  PortRecord record{};
  std::memset(&record.settings, 0xEE, sizeof record.settings);
  reset_settings(record.settings);
  ExpectResetSettings(ImageOf(record), 0xEE);
}

TEST(RecordImage, FreshModelHoldsNoModuleAndTheResetValues) {
  DeviceModel model;
  EXPECT_EQ(model.format_version(), 7u);
  for (int port = 0; port < kPortCount; ++port) {
    SCOPED_TRACE(port);
    const auto image = ImageOf(test::RecordOf(model, port));
    // No module, net, bus, link, DISCH group, monitor, name, custom icon or pending partner;
    // the gray preset icon.
    ExpectFields(image, {{0, 4, 0},
                         {4, 2, 65},
                         {6, 2, 65},
                         {8, 2, 65},
                         {10, 2, 65},
                         {13, 1, 129},
                         {88, 1, 0},
                         {344, 1, 0},
                         {345, 1, 1},
                         {348, 4, 0xFFFFFFFF},
                         {352, 1, 0},
                         {620, 2, 129},
                         {622, 2, 65}});
    ExpectResetSettings(image, 0);
  }
}

}  // namespace
}  // namespace mav
