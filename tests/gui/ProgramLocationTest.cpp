// Which folder becomes the program directory, with the home and data folders in a scratch folder.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <fstream>

#include "platform/qt/ProgramLocation.h"
#include "support/ScopedEnvironment.h"
#include "support/ScratchDirectory.h"

namespace mav::test {
namespace {

class ProgramLocationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QCoreApplication::setApplicationName("mav-controller");
    std::filesystem::create_directories(current_);
  }
  void TearDown() override { QCoreApplication::setApplicationName(saved_name_); }

  static void touch(const std::filesystem::path& file) { std::ofstream{file}; }
  // The folders chosen, which must then hold the four empty folders.
  ProgramFolders locate(const std::optional<std::filesystem::path>& given) {
    const auto found = locate_program_folders(given, current_);
    if (const auto* reason = std::get_if<std::string>(&found)) ADD_FAILURE() << *reason;
    const ProgramFolders folders = std::get<ProgramFolders>(found);
    for (const char* subfolder : {"Configurations", "Templates", "Icons", "Logs"}) {
      EXPECT_TRUE(std::filesystem::is_directory(folders.program / subfolder)) << subfolder;
    }
    return folders;
  }

  ScratchDirectory dir_;
  const std::filesystem::path current_ = dir_ / "current";
  const QString saved_name_ = QCoreApplication::applicationName();
  const ScopedEnvironment home_{"HOME", (dir_ / "home").string()};
  ScopedEnvironment data_{"XDG_DATA_HOME", (dir_ / "data").string()};
};

TEST_F(ProgramLocationTest, TheGivenFolderComesFirst) {
  touch(current_ / "MAV_Controller.cfg");
  const ProgramFolders folders = locate(dir_ / "given");
  EXPECT_EQ(folders.program, dir_ / "given");
  EXPECT_EQ(folders.shared, installed_share_folder());
}

TEST_F(ProgramLocationTest, TheCurrentFolderServesWhenItHoldsThePreferencesOrTheInstalledFiles) {
  touch(current_ / "MAV_Controller.cfg");
  ProgramFolders folders = locate(std::nullopt);
  EXPECT_EQ(folders.program, current_);
  EXPECT_EQ(folders.shared, installed_share_folder());

  std::filesystem::remove(current_ / "MAV_Controller.cfg");
  touch(current_ / "MAV C_Help.html");
  folders = locate(std::nullopt);
  EXPECT_EQ(folders.program, current_);
  EXPECT_EQ(folders.shared, current_);
}

TEST_F(ProgramLocationTest, OtherwiseTheUsersDataFolderIsMadeOnTheFirstStart) {
  ProgramFolders folders = locate(std::nullopt);
  EXPECT_EQ(folders.program, dir_ / "data" / "mav-controller");
  EXPECT_EQ(folders.shared, installed_share_folder());
  EXPECT_TRUE(std::filesystem::is_empty(current_));

  const ScopedEnvironment no_data_home("XDG_DATA_HOME", std::nullopt);
  folders = locate(std::nullopt);
  EXPECT_EQ(folders.program, dir_ / "home" / ".local" / "share" / "mav-controller");
}

TEST_F(ProgramLocationTest, AFolderThatCannotBeMadeIsRefused) {
  const auto found = locate_program_folders("/proc/no-such-folder", current_);
  ASSERT_TRUE(std::holds_alternative<std::string>(found));
  EXPECT_EQ(std::get<std::string>(found).rfind("cannot use /proc/no-such-folder as the program "
                                               "directory: ",
                                               0),
            0u);
}

}  // namespace
}  // namespace mav::test
