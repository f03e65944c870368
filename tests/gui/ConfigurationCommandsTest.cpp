// The configuration commands in the running program: the save dialog, the automatic-save slot of
// a first run, Restore Last Config without a previous run, and menu commands held back while a
// replay owns the wire.
#include <QFileDialog>

#include "frontend/MenuIds.h"
#include "gui/ProgramRig.h"
#include "support/FileBytes.h"

namespace mav::test {
namespace {

class ConfigurationCommandsTest : public ProgramRig {
 protected:
  void know_a_module() {
    PortRecord record{};
    program_->model().GetPort(2, record);
    record.mod_type = MOD_LINE7;
    program_->model().SetPort(2, record);
  }
  std::filesystem::path folder() const { return dir_.path() / "Configurations"; }
};

TEST_F(ConfigurationCommandsTest, AFirstRunSavesIntoTheSecondSlotAndHasNoRunToRestore) {
  start();
  know_a_module();
  program_->configurations().AutoSave();
  EXPECT_EQ(read_bytes(folder() / "AutoS2.mav").size(), 16953u);
  EXPECT_FALSE(std::filesystem::exists(folder() / "AutoS1.mav"));

  trigger(menu::kRestoreLastConfig);
  ASSERT_EQ(prompts_.asked.size(), 1u);
  EXPECT_EQ(prompts_.asked[0].text, "Restore to Last Configuration:\rAre you sure?");
  EXPECT_EQ(prompts_.told_texts(), std::vector<std::string>{"Load file could not be opened"});
}

TEST_F(ConfigurationCommandsTest, SaveConfigurationWritesTheNamedFileInTheFolder) {
  start();
  know_a_module();
  QString title;
  QString suffix;
  QString start_folder;
  with_dialog(menu::kSaveConfiguration, [&](QDialog& dialog) {
    auto& chooser = dynamic_cast<QFileDialog&>(dialog);
    title = chooser.windowTitle();
    suffix = chooser.defaultSuffix();
    start_folder = chooser.directory().absolutePath();
    chooser.selectFile(QStringLiteral("evening"));
    dialog.accept();  // the chooser's own accept, through its public base
  });
  EXPECT_EQ(title, "Save configuration");
  EXPECT_EQ(suffix, "mav");
  EXPECT_EQ(start_folder.toStdString(), folder().string());
  const Bytes bytes = read_bytes(folder() / "evening.mav");
  ASSERT_EQ(bytes.size(), 16953u);
  EXPECT_EQ(get_i32(bytes, 8 + 624 * 2), MOD_LINE7);
}

TEST_F(ConfigurationCommandsTest, CommandsWaitWhileAReplayOwnsTheWire) {
  start();
  const bool sound = checked(menu::kSound);
  program_->session().replay_running = true;
  trigger(menu::kSound);
  process_events_until([] { return false; }, 300);
  EXPECT_EQ(checked(menu::kSound), sound);
  program_->session().replay_running = false;
  EXPECT_TRUE(process_events_until([&] { return checked(menu::kSound) != sound; }));
}

}  // namespace
}  // namespace mav::test
