// The list of ports a port monitors, as the MON replies change it.
#include <gtest/gtest.h>

#include <vector>

#include "RecordImage.h"
#include "model/DeviceModel.h"

namespace mav {
namespace {

std::vector<int> Entries(const PortRecord& record) {
  std::vector<int> entries;
  for (int i = 0; i < 27 && record.monitors[i] != 129; ++i) entries.push_back(record.monitors[i]);
  return entries;
}

PortRecord EmptyList() {
  PortRecord record{};
  record.monitors[0] = PORT_NONE;
  return record;
}

TEST(MonitorList, AddingKeepsTheOrderOfArrival) {
  PortRecord record = EmptyList();
  EXPECT_TRUE(AddMonitor(record, 7));
  EXPECT_TRUE(AddMonitor(record, 2));
  EXPECT_TRUE(AddMonitor(record, 19));
  EXPECT_EQ(Entries(record), (std::vector<int>{7, 2, 19}));
  EXPECT_EQ(record.monitors[3], 129);
}

TEST(MonitorList, RemovingMovesTheLastEntryIntoTheGap) {
  PortRecord record = EmptyList();
  for (int port : {4, 9, 11}) AddMonitor(record, port);
  EXPECT_TRUE(RemoveMonitor(record, 4));
  EXPECT_EQ(Entries(record), (std::vector<int>{11, 9}));
  EXPECT_FALSE(RemoveMonitor(record, 4));
  EXPECT_TRUE(RemoveMonitor(record, 9));
  EXPECT_TRUE(RemoveMonitor(record, 11));
  EXPECT_EQ(record.monitors[0], 129);
  EXPECT_FALSE(RemoveMonitor(record, 11));
}

TEST(MonitorList, HoldsTwentySixEntriesAndOnlyPorts) {
  PortRecord record = EmptyList();
  EXPECT_FALSE(AddMonitor(record, 26));
  EXPECT_FALSE(AddMonitor(record, -1));
  for (int port = 0; port < 26; ++port) ASSERT_TRUE(AddMonitor(record, port));
  EXPECT_FALSE(AddMonitor(record, 3));
  EXPECT_EQ(record.monitors[26], 129);
  EXPECT_EQ(Entries(record).size(), 26u);
}

TEST(MonitorList, ModelAnswersFromTheStoredList) {
  DeviceModel model;
  PortRecord record = test::RecordOf(model, 8);
  AddMonitor(record, 1);
  AddMonitor(record, 3);
  model.SetPort(8, record);
  EXPECT_EQ(model.MonitorCount(8), 2);
  EXPECT_TRUE(model.IsMonitoring(8, 3));
  EXPECT_FALSE(model.IsMonitoring(8, 8));
  EXPECT_FALSE(model.IsMonitoring(3, 8));
  EXPECT_FALSE(model.IsMonitoring(26, 1));
}

// A record from a damaged file may have no end mark at all: nothing may read past the list.
TEST(MonitorList, AListWithoutEndMarkIsReadAsFull) {
  DeviceModel model;
  PortRecord record = test::RecordOf(model, 0);
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
