// The menu commands of the main window triggered in the running program on a serial line, with
// what the operator (or the gateway) sees happen: a dialog, a box, check marks, the bytes of the
// preferences file that changed, a file handed to the viewer, the window's size or title, a line.
#include <QFileDialog>

#include "gui/DesktopViewer.h"
#include "gui/ProgramRig.h"
#include "support/FileBytes.h"

namespace mav::test {
namespace {

class MenuCommandsTest : public ProgramRig {
 protected:
  std::map<int, bool> marks() {
    std::map<int, bool> marks;
    for (const QAction* item : window().findChildren<QAction*>()) {
      if (item->data().toInt() > 0) marks[item->data().toInt()] = item->isChecked();
    }
    return marks;
  }
  // The changed bytes of the file as runs "@offset:HEX".
  static std::string changed_bytes(const Bytes& before, const Bytes& after) {
    std::string runs;
    for (std::size_t i = 0; i < after.size(); ++i) {
      if (i < before.size() && before[i] == after[i]) continue;
      if (i == 0 || i > before.size() || before[i - 1] == after[i - 1]) {
        runs += " @" + std::to_string(i) + ":";
      }
      runs += QByteArray(1, static_cast<char>(after[i])).toHex().toUpper().toStdString();
    }
    return runs;
  }

  // Triggers the command and describes what changed.
  std::string effect_of(int command) {
    const auto marks_before = marks();
    const Bytes prefs = read_bytes(prefs_file());
    const QSize size = window().frameGeometry().size();
    const bool maximized = window().isMaximized();
    const std::string shown_title = title();
    const std::string viewed = viewer_.shown();
    prompts_.asked.clear();
    prompts_.told.clear();
    program_->session().resync_requested = false;
    seen_.clear();

    trigger(command);

    for (const auto& box : prompts_.asked) seen_ += " ask:" + box.text;
    for (const auto& box : prompts_.told) seen_ += " tell:" + box.text;
    for (const auto& [id, mark] : marks()) {
      if (mark != marks_before.at(id)) seen_ += (mark ? " +" : " -") + std::to_string(id);
    }
    seen_ += changed_bytes(prefs, read_bytes(prefs_file()));
    if (viewer_.shown() != viewed) {
      seen_ += " view:" + std::filesystem::path(viewer_.shown()).filename().string();
    }
    const QSize now = window().frameGeometry().size();
    if (now != size) {
      seen_ += " size:" + std::to_string(now.width()) + "x" + std::to_string(now.height());
    }
    if (window().isMaximized() != maximized) seen_ += maximized ? " normal" : " maximized";
    if (title() != shown_title) seen_ += " title:" + title();
    if (program_->session().resync_requested) seen_ += " resync";
    return seen_.empty() ? seen_ : seen_.substr(1);
  }

  std::string seen_;
  DesktopViewer viewer_{true};
};

TEST_F(MenuCommandsTest, EveryCommandHasItsEffect) {
  PseudoTerminal line;
  const std::string serial_title = line.name() + " - MAV Controller - Orvane Systems";
  const struct {
    int command;
    std::string effect;
    const char* line = "";  // sent to the gateway
  } rows[] = {
      {40010, "dialog:Select new Log file tell:No new log file selected"},
      {40011, "resync"},
      {40051, "", "VPMTS OFF\r"},  // the mark waits for the gateway's report
      {40029, "-40029 @1062:00", "COR_LED OFF\r"},
      {40031, "-40031 @1063:00", "PTT_LED OFF\r"},
      {40031, "+40031 @1063:01", "PTT_LED ON\r"},
      // Sound and the right button are kept in memory; the next save carries them.
      {40012, "-40012"},
      {40042, "-40041 +40042"},
      {40042, ""},  // the marked choice clicked again keeps its mark
      {40070, "-40070 @1058:00 @1064:00 @31644:00"},
      {40041, "+40041 -40042"},
      {40058, "-40057 +40058 @1064:01 @1066:00"},
      {40057, "+40057 -40058 @1066:01"},
      {40069, "-40068 +40069 @1057:00"},
      {40068, "+40068 -40069 @1057:01"},
      {40019, "-40018 +40019 @2:01 size:1024x768 normal"},
      {40020, "-40019 +40020 @2:02 size:1280x1024"},
      {40018, "+40018 -40020 @2:00 size:800x600 maximized"},  // the display is 800 wide
      {40066, "dialog:MAV Controller +40066 -40067 @796:546F776572" + std::string(52, '0') +
                  " @1056:01 title:Tower - [" + line.name() +
                  "] - MAV Controller - Orvane Systems"},
      {40067, "-40066 +40067 @1056:00 title:" + serial_title},
      {40037, "+40037 -40039 @1068:8A02"},
      {40036, "+40036 -40037 @1068:C800"},
      {40038, "-40036 +40038 @1068:00"},
      {40039, "-40038 +40039 @1068:C201"},
      {40064, "view:MAV C_Help.html"},
      {40045, "ask:Connect All:\rAre you sure?"},  // answered No
      {40046, "ask:Disconnect All:\rAre you sure?"},
      {40005,
       "tell:MAV Controller\rVersion 0.1\rThe operator's program for the MAV-7700 audio "
       "interconnect gateway.\rCopyright Orvane Systems. All rights reserved."},
      {40001,
       "ask:The MAV Controller automatically saves your configuration\rwhen you close the "
       "program.  You can restore this configuration\rthe next time you run the MAV Controller "
       "with the Restore Last\rConfig command in the File Menu.\rDo you want to see this reminder "
       "in the future? @1067:00"},
  };
  start_on_serial_port(line.name());
  EXPECT_TRUE(line_receives(line, "VPMTS ON\r"));
  prompts_.answer_yes = false;
  // Dialogs are recorded by caption and closed; the title dialog gets a title first.
  prompts_.dialog_script = [this](QDialog& dialog) {
    seen_ += " dialog:" + dialog.windowTitle().toStdString();
    if (QLineEdit* typed = child(dialog, 1347)) {
      typed->setText("Tower");
      dialog.done(QDialog::Accepted);
    }
    return dialog.result();
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.command);
    EXPECT_EQ(effect_of(row.command), row.effect);
    EXPECT_TRUE(!*row.line || line_receives(line, row.line));
  }
}

}  // namespace
}  // namespace mav::test
