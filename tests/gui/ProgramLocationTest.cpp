// Which folder becomes the program directory, with the home and data folders in a scratch folder.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <fstream>

#include "platform/ProgramLocation.h"
#include "support/ScopedEnvironment.h"
#include "support/ScratchDirectory.h"

namespace mav::test {
namespace {

TEST(ProgramLocationTest, GivenThenCurrentThenTheUsersDataFolder) {
  const QString saved_name = QCoreApplication::applicationName();
  QCoreApplication::setApplicationName("mav-controller");
  ScratchDirectory dir;
  const std::filesystem::path current = dir / "current";
  std::filesystem::create_directories(current);
  const ScopedEnvironment home("HOME", (dir / "home").string());
  std::optional<ScopedEnvironment> data_home(std::in_place, "XDG_DATA_HOME",
                                             (dir / "data").string());
  const std::filesystem::path installed = installed_share_folder();
  const struct {
    std::optional<std::filesystem::path> given;
    const char* file_in_current;  // "" for none
    std::filesystem::path program;
    std::filesystem::path shared;
  } cases[] = {
      {dir / "given", "MAV_Controller.cfg", dir / "given", installed},
      {std::nullopt, "MAV_Controller.cfg", current, installed},
      {std::nullopt, "MAV C_Help.html", current, current},
      {std::nullopt, "", dir / "data" / "mav-controller", installed},
      {std::nullopt, "", dir / "home" / ".local" / "share" / "mav-controller", installed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.program.string());
    std::filesystem::remove_all(current);
    std::filesystem::create_directories(current);
    if (*c.file_in_current) std::ofstream{current / c.file_in_current};
    if (c.program.string().find(".local") != std::string::npos) {
      data_home.emplace("XDG_DATA_HOME", std::nullopt);
    }
    const auto found = locate_program_folders(c.given, current);
    ASSERT_TRUE(std::holds_alternative<ProgramFolders>(found)) << std::get<std::string>(found);
    EXPECT_EQ(std::get<ProgramFolders>(found).program, c.program);
    EXPECT_EQ(std::get<ProgramFolders>(found).shared, c.shared);
    EXPECT_EQ(std::filesystem::is_empty(current), !*c.file_in_current);  // nothing made there
    for (const char* subfolder : {"Configurations", "Templates", "Icons", "Logs"}) {
      EXPECT_TRUE(std::filesystem::is_directory(c.program / subfolder)) << subfolder;
    }
  }
  const auto refused = locate_program_folders("/proc/no-such-folder", current);
  ASSERT_TRUE(std::holds_alternative<std::string>(refused));
  EXPECT_EQ(std::get<std::string>(refused).rfind(
                "cannot use /proc/no-such-folder as the program directory: ", 0),
            0u);
  QCoreApplication::setApplicationName(saved_name);
}

}  // namespace
}  // namespace mav::test
