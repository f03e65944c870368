// Documents handed to the desktop's viewer in the running program: the log report and copy, the
// module's help and application notes, the boxes where there is no viewer or a file cannot be
// written, and New Log's dialog.
#include <QFileDialog>
#include <QPlainTextEdit>
#include <fstream>

#include "gui/DesktopViewer.h"
#include "gui/ProgramRig.h"
#include "support/FileBytes.h"
#include "support/FileText.h"

namespace mav::test {
namespace {

using Texts = std::vector<std::string>;
using DocumentViewersTest = ProgramRig;

TEST_F(DocumentViewersTest, LogReportAndCopyGoToTheViewerOrTheProgramsOwnWindow) {
  start();
  program_->log().write_log_entry("entry 1");
  const std::string recent = (dir_ / "Recent.txt").string();
  const std::string copy = (dir_ / "Logs" / "MAVLog_tmp.txt").string();
  for (const auto& [command, viewer_present, file] : {std::tuple{40063, true, recent},
                                                      {40009, true, copy},
                                                      {40063, false, recent},
                                                      {40009, false, copy}}) {
    SCOPED_TRACE(command);
    const DesktopViewer viewer(viewer_present);
    trigger(command);
    EXPECT_EQ(viewer.shown(), viewer_present ? file : "");
    if (viewer_present) continue;
    const auto* own = window().findChild<QPlainTextEdit*>("logWindow");
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->windowTitle().toStdString() + "|" + own->toPlainText().toStdString(),
              file + "|" + file_text(file));
  }
  EXPECT_TRUE(prompts_.told.empty());
  EXPECT_EQ(file_text(recent).rfind("Most recent entries appear first\n\n", 0), 0u);
  EXPECT_EQ(file_text(copy), file_text(dir_ / "Logs" / "MAVPCI1.log"));

  // A folder where the report goes, a log file never written: each is a file error.
  std::filesystem::remove(recent);
  std::filesystem::create_directories(recent);
  program_->log().set_log_file_name("never-written.log");
  const DesktopViewer viewer(true);
  for (int command : {40063, 40009}) trigger(command);
  ASSERT_EQ(prompts_.told_texts(), Texts(2, "File Error"));
  EXPECT_EQ(prompts_.told[1].caption, "View Log Failed");
  EXPECT_EQ(viewer.shown(), "");
}

TEST_F(DocumentViewersTest, NewLogIsChosenStoredAndTakesTheNextEntry) {
  start();
  const std::filesystem::path logs = dir_ / "Logs";
  with_dialog(40010, [&](QDialog& dialog) {
    auto& chooser = dynamic_cast<QFileDialog&>(dialog);
    EXPECT_EQ(chooser.nameFilters(), QStringList{"Log files (*.LOG *.log)"});
    chooser.selectFile("Shift2");                   // the dialog adds the extension
    QMetaObject::invokeMethod(&chooser, "accept");  // its own OK: suffix and checks
  });
  const std::string chosen = (logs / "Shift2.log").string();
  EXPECT_EQ(get_text(read_bytes(prefs_file()), 276), chosen);
  const std::string before = file_text(logs / "MAVPCI1.log");
  program_->log().write_log_entry("after the switch");
  const std::string text = file_text(chosen);
  EXPECT_EQ(text.rfind("Date        Time    Module   Action\n----", 0), 0u) << text;
  EXPECT_TRUE(text.ends_with("  after the switch\n")) << text;
  EXPECT_EQ(file_text(logs / "MAVPCI1.log"), before);
}

// "VOQ Help..." and "Open App Notes..." in a module's settings.
TEST_F(DocumentViewersTest, ModuleDocumentsGoToTheViewerOrSayWhereTheyAre) {
  start();
  program_->model().Update(3, [](PortRecord& r) { r.mod_type = MOD_VOQ3; });
  std::filesystem::create_directories(dir_.path() / "Templates");
  const std::string notes = (dir_.path() / "Templates" / "Radio.pdf").string();
  std::ofstream(notes) << "%PDF";
  const std::string help = (dir_.path() / "VOQ_Help.pdf").string();
  const std::string no_viewer =
      "No viewer for PDF files.\rYou will have to open the file manually.\r";
  for (const bool viewer_present : {true, false}) {
    SCOPED_TRACE(viewer_present);
    const DesktopViewer viewer(viewer_present);
    Texts shown;
    prompts_.told.clear();
    prompts_.dialog_script = [&](QDialog& dialog) {
      if (auto* chooser = dynamic_cast<QFileDialog*>(&dialog)) {
        chooser->selectFile(QString::fromStdString(notes));
        QMetaObject::invokeMethod(chooser, "accept");
        return chooser->result();
      }
      for (const int button : {1354, 1356}) {
        click(dialog, button);
        shown.push_back(viewer.shown());
      }
      return int{QDialog::Rejected};
    };
    window().open_module_settings(3, false);
    EXPECT_EQ(shown, (viewer_present ? Texts{help, notes} : Texts{"", ""}));
    EXPECT_EQ(prompts_.told_texts(),
              (viewer_present ? Texts{} : Texts{no_viewer + help, no_viewer + notes}));
  }
}

}  // namespace
}  // namespace mav::test
