// The device model's record transfer, reset, per-keyword setter and indicators, and the list of
// ports a port monitors as the MON replies change it.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "RecordImage.h"
#include "model/DeviceModel.h"
#include "vocabulary/Vocabulary.h"

namespace mav {
namespace {

using test::ExpectFields;
using test::ImageOf;
using test::RecordOf;

TEST(DeviceModelTransfer, PortsOutsideTheTableCopyNothing) {
  DeviceModel model;
  PortRecord record{};
  std::memset(&record, 0x5A, sizeof record);
  const auto untouched = ImageOf(record);
  for (int port : {-1, 26, 60, 129}) {
    SCOPED_TRACE(port);
    EXPECT_FALSE(model.GetPort(port, record));
    EXPECT_FALSE(model.SetPort(port, record));
    EXPECT_FALSE(model.SetSetting(port, kw::TX_LEVEL, 1));
    EXPECT_FALSE(model.HasModule(port));
    EXPECT_EQ(model.MonitorCount(port), 0);
  }
  EXPECT_EQ(ImageOf(record), untouched);
  EXPECT_EQ(model.CountModules(), 0);
}

TEST(DeviceModelReset, ClearsTheLinkStateAndKeepsNamesAndIconsOnlyWhenAsked) {
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
    const auto image = ImageOf(back);
    // Cleared: module, bus, link, DISCH group, monitors, TX_LEVEL, COR, PTT, both steps and the
    // pending partner and bus. Renumbering, not the reset, clears a net; the permanent mark,
    // ringing and the prompt settings stay as they are.
    // clang-format off
    ExpectFields(image, {{0, 4, 0},     {6, 2, 65},    {8, 2, 65},     {10, 2, 65},   {13, 1, 129},
                         {83, 1, 3},    {608, 1, 0},   {609, 1, 0},    {612, 4, 0},   {616, 4, 0},
                         {620, 2, 129}, {622, 2, 65},  {4, 2, 0x1111}, {12, 1, 0x11}, {610, 1, 0x11},
                         {65, 1, 0x11}, {66, 1, 0x11}});
    // clang-format on
    EXPECT_STREQ(back.port_name, keep ? "Dispatch" : "");
    EXPECT_STREQ(back.icon_path, keep ? "/icons/tower.bmp" : "");
    // A full reset goes back to the gray preset icon with no custom icon loaded.
    ExpectFields(image, {{344, 1, keep ? 0x11u : 0u},
                         {345, 1, keep ? 0x11u : 1u},
                         {348, 4, keep ? 0x11111111u : 0xFFFFFFFFu}});
  }
}

TEST(DeviceModelSetSetting, StoresByKeywordWithTheDialModeRule) {
  DeviceModel model;
  EXPECT_TRUE(model.SetSetting(3, kw::TX_LEVEL, 0x105));
  EXPECT_TRUE(model.SetSetting(3, kw::SQUELCH_TYPE, 17));
  ExpectFields(ImageOf(RecordOf(model, 3)), {{83, 1, 0x05}, {76, 4, 17}});

  // "DTMF" is tone dialling; "PULSE" and any other word pulse dialling.
  for (const auto& [word, stored] : {std::pair{20u, 0}, {19u, 1}, {1u, 0}}) {
    EXPECT_TRUE(model.SetSetting(3, kw::DIAL_MODE, word));
    EXPECT_EQ(ImageOf(RecordOf(model, 3))[80], stored) << word;
  }

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
  ExpectFields(ImageOf(RecordOf(model, 12)), {{608, 1, 0}, {609, 1, 1}, {610, 1, 1}});
  model.ClearPttBits();
  for (int port : {0, 12, 25}) {
    ExpectFields(ImageOf(RecordOf(model, port)), {{608, 1, 0}, {609, 1, 0}, {610, 1, 1}});
  }
}

std::vector<int> Monitors(const PortRecord& record) {
  std::vector<int> entries;
  for (int i = 0; i < 27 && record.monitors[i] != 129; ++i) entries.push_back(record.monitors[i]);
  return entries;
}

TEST(MonitorList, AddingKeepsArrivalOrderAndRemovingMovesTheLastEntryIntoTheGap) {
  DeviceModel model;
  PortRecord record = RecordOf(model, 8);
  for (int port : {4, 9, 11}) EXPECT_TRUE(AddMonitor(record, port));
  EXPECT_EQ(Monitors(record), (std::vector<int>{4, 9, 11}));
  model.SetPort(8, record);
  EXPECT_EQ(model.MonitorCount(8), 3);
  EXPECT_TRUE(model.IsMonitoring(8, 9));
  EXPECT_FALSE(model.IsMonitoring(8, 8));
  EXPECT_FALSE(model.IsMonitoring(9, 8));
  EXPECT_FALSE(model.IsMonitoring(26, 4));

  EXPECT_TRUE(RemoveMonitor(record, 4));
  EXPECT_EQ(Monitors(record), (std::vector<int>{11, 9}));
  EXPECT_FALSE(RemoveMonitor(record, 4));
  EXPECT_TRUE(RemoveMonitor(record, 9));
  EXPECT_TRUE(RemoveMonitor(record, 11));
  EXPECT_EQ(record.monitors[0], 129);
}

// A record from a damaged file may have no end mark at all: nothing may read past the list.
TEST(MonitorList, HoldsTwentySixPortsAndAListWithoutEndMarkIsReadAsFull) {
  DeviceModel model;
  PortRecord record = RecordOf(model, 0);
  EXPECT_FALSE(AddMonitor(record, 26));
  EXPECT_FALSE(AddMonitor(record, -1));
  for (int port = 0; port < 26; ++port) ASSERT_TRUE(AddMonitor(record, port));
  EXPECT_FALSE(AddMonitor(record, 3));
  EXPECT_EQ(record.monitors[26], 129);
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

}  // namespace
}  // namespace mav
