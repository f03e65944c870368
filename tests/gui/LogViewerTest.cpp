// The log viewers in the running program: the report and the copy handed to the desktop's text
// viewer, the boxes where there is none or a file cannot be written, and New Log's dialog.
#include <QFileDialog>
#include <QPlainTextEdit>

#include "gui/DesktopViewer.h"
#include "gui/ProgramRig.h"
#include "support/FileBytes.h"
#include "support/FileText.h"

namespace mav::test {
namespace {

constexpr const char* kColumnHeader =
    "Date        Time    Module   Action\n"
    "---------------------------------------------------------------------\n";

using LogViewerTest = ProgramRig;

TEST_F(LogViewerTest, ReportAndCopyGoToTheViewerOrTheProgramsOwnWindow) {
  start();
  program_->log().write_log_entry("entry 1");
  const std::string recent = (dir_ / "Recent.txt").string();
  const std::string copy = (dir_ / "Logs" / "MAVLog_tmp.txt").string();
  const struct {
    int command;
    bool viewer;
    std::string shown;  // handed to the viewer
    std::string own;    // or the own window's title
  } cases[] = {
      {40063, true, recent, ""},
      {40009, true, copy, ""},
      {40063, false, "", recent},
      {40009, false, "", copy},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    prompts_.told.clear();
    const DesktopViewer viewer(c.viewer);
    trigger(c.command);
    EXPECT_EQ(viewer.shown(), c.shown);
    EXPECT_TRUE(prompts_.told.empty());
    if (c.own.empty()) continue;
    const auto* own = window().findChild<QPlainTextEdit*>("logWindow");
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->windowTitle().toStdString(), c.own);
    EXPECT_EQ(own->toPlainText().toStdString(), file_text(c.own));
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
    EXPECT_EQ(chooser.nameFilters(), QStringList{"Log files (*.LOG *.log)"});
    EXPECT_EQ(chooser.directory().absolutePath().toStdString(), logs.string());
    chooser.selectFile("Shift2");                   // the dialog adds the extension
    QMetaObject::invokeMethod(&chooser, "accept");  // its own OK: suffix and checks
  });
  const std::string chosen = (logs / "Shift2.log").string();
  EXPECT_EQ(get_text(read_bytes(prefs_file()), 276), chosen);
  const std::string before = file_text(logs / "MAVPCI1.log");
  program_->log().write_log_entry("after the switch");
  const std::string text = file_text(chosen);
  EXPECT_EQ(text.rfind(kColumnHeader, 0), 0u);
  EXPECT_TRUE(text.ends_with("  after the switch\n")) << text;
  EXPECT_EQ(file_text(logs / "MAVPCI1.log"), before);

  with_dialog(
      40010, [](QDialog&) {}, QDialog::Rejected);
  ASSERT_EQ(prompts_.told_texts(), std::vector<std::string>{"No new log file selected"});
  EXPECT_EQ(prompts_.told[0].caption, "Warning");
  EXPECT_EQ(program_->log().log_file_name(), chosen);
}

}  // namespace
}  // namespace mav::test
