// Record transfer, reset and the per-keyword setter of the device model.
#include <gtest/gtest.h>

#include <cstring>

#include "RecordImage.h"
#include "model/DeviceModel.h"
#include "protocol/Vocabulary.h"

namespace mav {
namespace {

using test::ImageOf;
using test::RecordOf;
using test::U16At;
using test::U32At;

TEST(DeviceModelTransfer, PortsOutsideTheTableCopyNothing) {
  DeviceModel model;
  PortRecord record{};
  std::memset(&record, 0x5A, sizeof record);
  const auto untouched = ImageOf(record);

  for (int port : {-1, 26, 60, 129}) {
    EXPECT_FALSE(model.GetPort(port, record));
    EXPECT_FALSE(model.SetPort(port, record));
    EXPECT_FALSE(model.SetSetting(port, kw::TX_LEVEL, 1));
    EXPECT_FALSE(model.HasModule(port));
    EXPECT_EQ(model.MonitorCount(port), 0);
  }
  EXPECT_EQ(ImageOf(record), untouched);
  EXPECT_EQ(model.CountModules(), 0);
}

TEST(DeviceModelTransfer, WholeRecordRoundTrips) {
  DeviceModel model;
  PortRecord record{};
  std::memset(&record, 0x3C, sizeof record);
  ASSERT_TRUE(model.SetPort(25, record));
  PortRecord back{};
  ASSERT_TRUE(model.GetPort(25, back));
  EXPECT_EQ(ImageOf(back), ImageOf(record));
  EXPECT_EQ(ImageOf(RecordOf(model, 24)), ImageOf(RecordOf(model, 0)));  // neighbours untouched
}

TEST(DeviceModelReset, FreshModelHoldsNoModuleAndTheResetValues) {
  DeviceModel model;
  EXPECT_EQ(model.format_version(), 7u);
  for (int port = 0; port < 26; ++port) {
    const auto image = ImageOf(RecordOf(model, port));
    EXPECT_EQ(U32At(image, 0), 0u);             // no module
    EXPECT_EQ(U16At(image, 4), 65u);            // no net
    EXPECT_EQ(U16At(image, 6), 65u);            // no bus
    EXPECT_EQ(U16At(image, 8), 65u);            // no link
    EXPECT_EQ(U16At(image, 10), 65u);           // no DISCH group
    EXPECT_EQ(image[13], 129);                  // empty monitor list
    EXPECT_EQ(image[42], 1);                    // EQ
    EXPECT_EQ(U32At(image, 76), 18u);           // SQUELCH_TYPE "VOX"
    EXPECT_EQ(image[88], 0);                    // no name
    EXPECT_EQ(image[344], 0);                   // gray
    EXPECT_EQ(image[345], 1);                   // preset icon
    EXPECT_EQ(U32At(image, 348), 0xFFFFFFFFu);  // no custom icon loaded
    EXPECT_EQ(image[352], 0);                   // no icon path
    EXPECT_EQ(U16At(image, 620), 129u);         // no pending partner
    EXPECT_EQ(U16At(image, 622), 65u);          // no pending bus
  }
}

class DeviceModelResetFromUse : public ::testing::Test {
 protected:
  void SetUp() override {
    PortRecord record = RecordOf(model_, 4);
    record.mod_type = MOD_LINE7;
    record.net = 2;
    record.bus = 1;
    record.bus_link = 0;
    record.disch_group = 3;
    record.perm_conn = 1;
    record.monitors[0] = 7;
    record.monitors[1] = PORT_NONE;
    record.settings.tx_level = 9;
    record.settings.prompt_delay = 4;
    record.settings.prompt_lang = 2;
    std::strcpy(record.port_name, "Dispatch");
    record.icon_color = 5;
    record.icon_preset = 0;
    record.icon_id = 553;
    std::strcpy(record.icon_path, "/icons/tower.bmp");
    record.cor_active = 1;
    record.ptt_active = 1;
    record.ring_active = 1;
    record.disch_step = 4;
    record.connect_step = 5;
    record.pending_partner = 9;
    record.pending_bus = 2;
    model_.SetPort(4, record);
  }

  // What both kinds of reset clear, and what neither touches.
  void ExpectLinkStateCleared(const PortRecord& record) {
    EXPECT_EQ(record.mod_type, 0u);
    EXPECT_EQ(record.bus, GROUP_NONE);
    EXPECT_EQ(record.bus_link, GROUP_NONE);
    EXPECT_EQ(record.disch_group, GROUP_NONE);
    EXPECT_EQ(record.monitors[0], PORT_NONE);
    EXPECT_EQ(record.settings.tx_level, 3);
    EXPECT_EQ(record.cor_active, 0);
    EXPECT_EQ(record.ptt_active, 0);
    EXPECT_EQ(record.disch_step, 0u);
    EXPECT_EQ(record.connect_step, 0u);
    EXPECT_EQ(record.pending_partner, PORT_NONE);
    EXPECT_EQ(record.pending_bus, GROUP_NONE);
    // Renumbering, not the reset, clears a net; the permanent mark and ringing stay as they are,
    // and so do the prompt settings.
    EXPECT_EQ(record.net, 2);
    EXPECT_EQ(record.perm_conn, 1);
    EXPECT_EQ(record.ring_active, 1);
    EXPECT_EQ(record.settings.prompt_delay, 4);
    EXPECT_EQ(record.settings.prompt_lang, 2);
  }

  DeviceModel model_;
};

TEST_F(DeviceModelResetFromUse, KeepingUserFieldsKeepsNamesAndIcons) {
  model_.Reset(true);
  const PortRecord record = RecordOf(model_, 4);
  ExpectLinkStateCleared(record);
  EXPECT_STREQ(record.port_name, "Dispatch");
  EXPECT_STREQ(record.icon_path, "/icons/tower.bmp");
  EXPECT_EQ(record.icon_color, 5);
  EXPECT_EQ(record.icon_preset, 0);
  EXPECT_EQ(record.icon_id, 553);
}

TEST_F(DeviceModelResetFromUse, FullResetEmptiesNamesAndGoesBackToTheGrayPreset) {
  model_.Reset(false);
  const PortRecord record = RecordOf(model_, 4);
  ExpectLinkStateCleared(record);
  EXPECT_STREQ(record.port_name, "");
  EXPECT_STREQ(record.icon_path, "");
  EXPECT_EQ(record.icon_color, 0);
  EXPECT_EQ(record.icon_preset, 1);
  EXPECT_EQ(record.icon_id, -1);
}

TEST(DeviceModelSetSetting, StoresByKeywordWithTheDialModeRule) {
  DeviceModel model;
  EXPECT_TRUE(model.SetSetting(3, kw::TX_LEVEL, 0x105));
  EXPECT_TRUE(model.SetSetting(3, kw::CALLING_TIME, 300));
  EXPECT_TRUE(model.SetSetting(3, kw::SQUELCH_TYPE, 17));
  auto image = ImageOf(RecordOf(model, 3));
  EXPECT_EQ(image[83], 0x05);
  EXPECT_EQ(U32At(image, 44), 300u);
  EXPECT_EQ(U32At(image, 76), 17u);

  EXPECT_TRUE(model.SetSetting(3, kw::DIAL_MODE, 20));  // "PULSE"
  EXPECT_EQ(ImageOf(RecordOf(model, 3))[80], 0);
  EXPECT_TRUE(model.SetSetting(3, kw::DIAL_MODE, 19));  // "DTMF"
  EXPECT_EQ(ImageOf(RecordOf(model, 3))[80], 1);
  EXPECT_TRUE(model.SetSetting(3, kw::DIAL_MODE, 1));  // any other word is pulse dialling
  EXPECT_EQ(ImageOf(RecordOf(model, 3))[80], 0);

  const auto before = ImageOf(RecordOf(model, 3));
  EXPECT_FALSE(model.SetSetting(3, kw::CONNECT_S, 1));
  EXPECT_FALSE(model.SetSetting(3, kw::MEK_SQUELCH_TYPE, 24));
  EXPECT_EQ(ImageOf(RecordOf(model, 3)), before);
}

TEST(DeviceModelIndicators, ClearingCorOrPttBitsLeavesTheOtherIndicators) {
  DeviceModel model;
  for (int port : {0, 12, 25}) {
    PortRecord record = RecordOf(model, port);
    record.cor_active = record.ptt_active = record.ring_active = 1;
    model.SetPort(port, record);
  }
  model.ClearCorBits();
  EXPECT_EQ(RecordOf(model, 12).cor_active, 0);
  EXPECT_EQ(RecordOf(model, 12).ptt_active, 1);
  model.ClearPttBits();
  for (int port : {0, 12, 25}) {
    EXPECT_EQ(RecordOf(model, port).ptt_active, 0);
    EXPECT_EQ(RecordOf(model, port).ring_active, 1);
  }
}

}  // namespace
}  // namespace mav
