// What the configuration files leave on disk: they carry the PIN table, so every one is its
// owner's alone in folders only the owner may enter; a save writes through a symbolic link and
// never over a read-only file. The save after a gateway restart also restarts the periodic one's
// minute.
#include <gtest/gtest.h>

#include <fstream>

#include "model/RecordImage.h"
#include "support/ControllerRig.h"
#include "frontend/MenuIds.h"
#include "support/FileBytes.h"

namespace mav {
namespace {

namespace fs = std::filesystem;
using test::make_connected_rig;

TEST(ConfigurationFilesOnDisk, EveryFileAndFolderIsTheOwnersAlone) {
  auto rig = make_connected_rig();
  test::Place(rig->model, 0, {});
  fs::create_directories(rig->files.folder());
  fs::permissions(rig->files.folder(), fs::perms::all);  // as an earlier version left it
  rig->files.set_save_slot(1);
  rig->files.AutoSave();  // AutoS2.mav and the first history file
  rig->files.SaveSnapshot();
  rig->prompts.chosen = rig->files.folder() / "Desk.mav";
  rig->registry.run(menu::kSaveConfiguration);

  int files = 0;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(rig->files.folder())) {
    const bool folder = entry.is_directory();
    files += folder ? 0 : 1;
    EXPECT_EQ(entry.status().permissions(),
              folder ? fs::perms::owner_all : (fs::perms::owner_read | fs::perms::owner_write))
        << entry.path();
  }
  EXPECT_EQ(files, 4);
  EXPECT_EQ(fs::status(rig->files.folder()).permissions(), fs::perms::owner_all);
}

TEST(ConfigurationFilesOnDisk, ASaveWritesThroughALinkAndLeavesAReadOnlyFileAlone) {
  auto rig = make_connected_rig();
  test::Place(rig->model, 0, {});
  fs::create_directories(rig->files.folder());
  const fs::path target = rig->files.folder() / "Target.mav";
  std::ofstream(target) << "old";
  fs::create_symlink("Target.mav", rig->files.folder() / "Link.mav");
  rig->prompts.chosen = rig->files.folder() / "Link.mav";
  rig->registry.run(menu::kSaveConfiguration);
  EXPECT_TRUE(fs::is_symlink(rig->files.folder() / "Link.mav"));
  EXPECT_EQ(fs::file_size(target), 16953u);

  const fs::path fixed = rig->files.folder() / "Fixed.mav";
  std::ofstream(fixed) << "old";
  fs::permissions(fixed, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  rig->prompts.chosen = fixed;
  rig->registry.run(menu::kSaveConfiguration);
  EXPECT_EQ(rig->prompts.told, std::vector<std::string>{"Save file could not be opened"});
  EXPECT_EQ(test::read_bytes(fixed).size(), 3u);
}

TEST(ConfigurationFilesOnDisk, TheSaveAfterAGatewayRestartIsThePeriodicSavesNewStart) {
  auto rig = make_connected_rig();
  test::Place(rig->model, 0, {});
  rig->fake_clock.advance_ms(90000);
  EXPECT_TRUE(rig->files.RestoreAfterGatewayRestart());
  EXPECT_EQ(rig->state.last_autosave_ms, rig->fake_clock.now_ms());
}

}  // namespace
}  // namespace mav
