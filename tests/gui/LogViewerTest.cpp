// The log viewers in the running program: the report and the copy handed to the desktop's text
// viewer, the boxes where there is none or a file cannot be written, and New Log's dialog.
#include <QFileDialog>
#include <numeric>

#include "gui/DesktopViewer.h"
#include "gui/ProgramRig.h"
#include "support/FileBytes.h"
#include "support/FileText.h"

namespace mav::test {
namespace {

constexpr const char* kNoViewer =
    "No default text viewer in registry.\rYou will have to open the file manually.";

using LogViewerTest = ProgramRig;

TEST_F(LogViewerTest, ReportAndCopyGoToTheViewerOrTheOperatorLearnsWhereTheyAre) {
  start();
  program_->log().write_log_entry("entry 1");
  const std::string recent = (dir_ / "Recent.txt").string();
  const std::string copy = (dir_ / "Logs" / "MAVLog_tmp.txt").string();
  const struct {
    int command;
    bool viewer;
    std::string shown;  // handed to the viewer
    std::string told;   // or the box's text
  } cases[] = {
      {40063, true, recent, ""},
      {40009, true, copy, ""},
      {40063, false, "", kNoViewer},
      {40009, false, "", std::string(kNoViewer) + "\r" + copy},
  };
  for (const auto& c : cases) {
    prompts_.told.clear();
    const DesktopViewer viewer(c.viewer);
    trigger(c.command);
    const auto told = prompts_.told_texts();
    EXPECT_EQ(viewer.shown() + std::accumulate(told.begin(), told.end(), std::string()),
              c.shown + c.told);
  }
  EXPECT_EQ(file_text(recent).rfind("Most recent entries appear first\n\n", 0), 0u);
  EXPECT_EQ(file_text(copy), file_text(dir_ / "Logs" / "MAVPCI1.log"));

  // A folder where the report goes, a log file never written: each is a file error.
  prompts_.told.clear();
  std::filesystem::remove(recent);
  std::filesystem::create_directories(recent);
  program_->log().set_log_file_name("never-written.log");
  const DesktopViewer viewer(true);
  for (int command : {40063, 40009}) trigger(command);
  ASSERT_EQ(prompts_.told_texts(), (std::vector<std::string>(2, "File Error")));
  EXPECT_EQ(prompts_.told[1].caption, "View Log Failed");
  EXPECT_EQ(viewer.shown(), "");
}

TEST_F(LogViewerTest, NewLogIsChosenStoredAndTakesTheNextEntry) {
  start();
  const std::filesystem::path logs = dir_ / "Logs";
  with_dialog(40010, [&](QDialog& dialog) {
    auto& chooser = dynamic_cast<QFileDialog&>(dialog);
    EXPECT_EQ(chooser.directory().absolutePath().toStdString(), logs.string());
    chooser.selectFile("Shift2");                   // the dialog adds the extension
    QMetaObject::invokeMethod(&chooser, "accept");  // its own OK: suffix and checks
  });
  const std::string chosen = (logs / "Shift2.log").string();
  EXPECT_EQ(get_text(read_bytes(prefs_file()), 276), chosen);
  const std::string before = file_text(logs / "MAVPCI1.log");
  program_->log().write_log_entry("after the switch");
  EXPECT_TRUE(file_text(chosen).ends_with("  after the switch\n")) << file_text(chosen);
  EXPECT_EQ(file_text(logs / "MAVPCI1.log"), before);
}

}  // namespace
}  // namespace mav::test
