// The history of automatic saves on disk: one file per differing save, named after its time so
// names sort by time, the newest 200 kept.
#include <gtest/gtest.h>

#include "model/RecordImage.h"
#include "support/ControllerRig.h"
#include "support/FileBytes.h"

namespace mav {
namespace {

using namespace std::chrono;

HistoryTime at(year_month_day date, milliseconds time_of_day) {
  return sys_days{date} + time_of_day;
}

std::vector<std::string> names(const ConfigurationHistory& history) {
  std::vector<std::string> found;
  for (const HistoryFile& file : history.Files()) found.push_back(file.file.filename().string());
  return found;
}

TEST(ConfigurationHistory, OnlyASaveThatDiffersFromTheNewestIsKept) {
  auto rig = test::make_connected_rig();
  rig->files.set_save_slot(0);
  rig->files.AutoSave();  // no module known: nothing anywhere
  EXPECT_TRUE(rig->files.history().Files().empty());

  test::Place(rig->model, 6, {});
  rig->files.AutoSave();
  rig->files.AutoSave();
  const std::vector<HistoryFile> kept = rig->files.history().Files();
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].file.parent_path(), rig->files.folder() / "History");
  EXPECT_EQ(test::read_bytes(kept[0].file), test::read_bytes(rig->files.folder() / "AutoS1.mav"));

  PortRecord record = rig->port(6);
  record.icon_color = 3;
  rig->model.SetPort(6, record);
  rig->files.AutoSave();
  rig->files.AutoSave();
  EXPECT_EQ(rig->files.history().Files().size(), 2u);
  // The snapshot before Connect All is no automatic save of the history.
  rig->files.SaveSnapshot();
  EXPECT_EQ(rig->files.history().Files().size(), 2u);
}

TEST(ConfigurationHistory, TheTwoHundredAndFirstSaveRemovesTheOldest) {
  test::ScratchDirectory dir;
  ConfigurationHistory history(dir.path() / "History");
  const HistoryTime start = at(2026y / 12 / 6, 35min + 36s + 123ms);
  test::Bytes bytes(kConfigFileSize, 0);
  for (int i = 0; i < 201; ++i) {
    test::put_i32(bytes, 0, i);
    ASSERT_TRUE(history.Record(bytes, start + minutes{i}));
    if (i == 199) {
      EXPECT_EQ(names(history).front(), "20261206-003536.123.mav");
    }
  }
  const std::vector<std::string> kept = names(history);
  ASSERT_EQ(kept.size(), 200u);
  EXPECT_EQ(kept.front(), "20261206-003636.123.mav");
  EXPECT_EQ(kept.back(), "20261206-035536.123.mav");
  EXPECT_EQ(test::get_i32(test::read_bytes(history.Files().front().file), 0), 1);
}

TEST(ConfigurationHistory, NamesSortByTimeAndOtherFilesAreLeftAlone) {
  test::ScratchDirectory dir;
  ConfigurationHistory history(dir.path() / "History");
  std::filesystem::create_directories(history.folder());
  test::write_bytes(history.folder() / "evening.mav", test::Bytes(kConfigFileSize, 0));
  const HistoryTime times[] = {
      at(2026y / 12 / 31, 23h + 59min + 59s + 999ms),
      at(2027y / 1 / 1, 0ms),
      at(2027y / 1 / 1, 9h + 59min + 59s + 999ms),
      at(2027y / 1 / 1, 10h),
      at(2027y / 1 / 1, 10h),        // the same millisecond again
      at(2027y / 1 / 1, 9h + 5min),  // the clock set back
  };
  test::Bytes bytes(kConfigFileSize, 0);
  for (const HistoryTime when : times) {
    ++bytes[0];
    ASSERT_TRUE(history.Record(bytes, when));
  }
  const std::vector<std::string> expected = {"20261231-235959.999.mav", "20270101-000000.000.mav",
                                             "20270101-095959.999.mav", "20270101-100000.000.mav",
                                             "20270101-100000.001.mav", "20270101-100000.002.mav"};
  EXPECT_EQ(names(history), expected);
  EXPECT_EQ(history.Files()[3].when, times[3]);
  EXPECT_TRUE(std::filesystem::exists(history.folder() / "evening.mav"));
  for (const char* foreign : {"evening.mav", "20270101-100000.000.txt", "2027010a-100000.000.mav",
                              "20271301-100000.000.mav"}) {
    EXPECT_FALSE(HistoryTimeOfName(foreign)) << foreign;
  }
}

}  // namespace
}  // namespace mav
