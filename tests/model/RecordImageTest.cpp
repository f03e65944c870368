// The record's byte image is the configuration file's record: every field and every settings
// keyword must land at its file offset.
#include <gtest/gtest.h>

#include <string_view>

#include "RecordImage.h"
#include "model/SettingsFields.h"
#include "protocol/Vocabulary.h"

namespace mav {
namespace {

using test::ImageOf;
using test::U16At;
using test::U32At;

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
  EXPECT_EQ(U32At(image, 0), 0x04030201u);
  EXPECT_EQ(U16At(image, 4), 0x0605u);
  EXPECT_EQ(U16At(image, 6), 0x0807u);
  EXPECT_EQ(U16At(image, 8), 0x0A09u);
  EXPECT_EQ(U16At(image, 10), 0x0C0Bu);
  EXPECT_EQ(image[12], 0x0D);
  EXPECT_EQ(image[13], 0x0E);
  EXPECT_EQ(image[39], 0x0F);
  EXPECT_EQ(image[40], 0x10);
  EXPECT_EQ(image[87], 0x11);
  EXPECT_EQ(image[88], 'N');
  EXPECT_EQ(image[343], 'Z');
  EXPECT_EQ(image[344], 0x12);
  EXPECT_EQ(image[345], 0x13);
  EXPECT_EQ(U32At(image, 348), 0xFFFFFFFEu);
  EXPECT_EQ(image[352], 'P');
  EXPECT_EQ(image[607], 'Q');
  EXPECT_EQ(image[608], 0x14);
  EXPECT_EQ(image[609], 0x15);
  EXPECT_EQ(image[610], 0x16);
  EXPECT_EQ(U32At(image, 612), 0x1A191817u);
  EXPECT_EQ(U32At(image, 616), 0x1E1D1C1Bu);
  EXPECT_EQ(U16At(image, 620), 0x201Fu);
  EXPECT_EQ(U16At(image, 622), 0x2221u);
}

struct KeywordSlot {
  std::string_view keyword;
  std::size_t offset;
  std::size_t width;
};

constexpr KeywordSlot kSettingsLayout[] = {
    {"2W_4W", 40, 1},
    {"DELAY_TIME", 41, 1},
    {"EQ", 42, 1},
    {"AUTO_ANS", 43, 1},
    {"CALLING_TIME", 44, 4},
    {"CONF", 48, 1},
    {"COR_INHIBIT", 49, 1},
    {"COR_POLARITY", 50, 1},
    {"COR_SAMPLING", 51, 1},
    {"COR_SAMP_DELAY", 52, 1},
    {"COR_SAMP_INTERVAL", 53, 1},
    {"COR_SAMP_WIDTH", 54, 1},
    {"DB_TONE", 55, 1},
    {"DIAL_TONE_ENABLE", 56, 1},
    {"DIAL_TONE_WAIT", 57, 1},
    {"DTMF_MUTE_TIME", 58, 1},
    {"DUPLEX", 59, 1},
    {"KEYING_TONES", 60, 1},
    {"TONE_KEY_AMP", 61, 1},
    {"ON_HOOK", 62, 1},
    {"OP", 63, 1},
    {"PEAKER", 64, 1},
    {"PROMPT_DELAY", 65, 1},
    {"PROMPT_LANG", 66, 1},
    {"LINE_TYPE", 67, 1},
    {"LINE_TIMEOUT", 68, 1},
    {"PTT_PRIORITY", 69, 1},
    {"RADIO_TYPE", 70, 1},
    {"RINGBACK_ENABLE", 71, 1},
    {"RX_LEVEL", 72, 1},
    {"RX_SQUELCH", 73, 1},
    {"SECURITY_LEVEL", 74, 1},
    {"SQUELCH_TYPE", 76, 4},
    {"DIAL_MODE", 80, 1},
    {"TRUNK_TYPE", 82, 1},
    {"TX_LEVEL", 83, 1},
    {"USER_CONTROL", 84, 1},
    {"RING_CADENCE", 85, 1},
    {"VMR_THRESH", 86, 1},
    {"VMR_HANG", 87, 1},
};

// Each keyword's value must change exactly its own bytes of the image and nothing else.
TEST(SettingsByKeyword, EachKeywordWritesOnlyItsOwnBytes) {
  for (const KeywordSlot& slot : kSettingsLayout) {
    SCOPED_TRACE(slot.keyword);
    const int keyword = lookup_keyword(slot.keyword);
    ASSERT_GT(keyword, 0);

    PortRecord record{};
    const auto before = ImageOf(record);
    ASSERT_TRUE(store_setting(record.settings, keyword, 0xA1B2C3D4));
    const auto after = ImageOf(record);

    for (std::size_t offset = 0; offset < after.size(); ++offset) {
      const bool own = offset >= slot.offset && offset < slot.offset + slot.width;
      if (!own) {
        ASSERT_EQ(after[offset], before[offset]) << "offset " << offset;
      }
    }
    const std::uint32_t expected = slot.width == 4 ? 0xA1B2C3D4u : 0xD4u;
    EXPECT_EQ(slot.width == 4 ? U32At(after, slot.offset) : after[slot.offset], expected);
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
  const auto image = ImageOf(record);

  const std::pair<std::size_t, std::uint8_t> bytes[] = {
      {40, 0}, {41, 0}, {42, 1}, {43, 1}, {48, 0}, {49, 0}, {50, 1}, {51, 1}, {52, 0}, {53, 0},
      {54, 0}, {55, 0}, {56, 1}, {57, 1}, {58, 0}, {59, 1}, {60, 0}, {61, 3}, {62, 1}, {63, 0},
      {64, 0}, {67, 1}, {68, 3}, {69, 0}, {70, 0}, {71, 1}, {72, 3}, {73, 1}, {74, 0}, {80, 1},
      {81, 0}, {82, 0}, {83, 3}, {84, 1}, {85, 1}, {86, 1}, {87, 3}};
  for (const auto& [offset, value] : bytes) {
    EXPECT_EQ(image[offset], value) << offset;
  }
  EXPECT_EQ(U32At(image, 44), 1u);   // CALLING_TIME
  EXPECT_EQ(U32At(image, 76), 18u);  // SQUELCH_TYPE: "VOX"
  // PROMPT_DELAY, PROMPT_LANG and the first reserved byte are left as they were.
  EXPECT_EQ(image[65], 0xEE);
  EXPECT_EQ(image[66], 0xEE);
  EXPECT_EQ(image[75], 0xEE);
}

}  // namespace
}  // namespace mav
