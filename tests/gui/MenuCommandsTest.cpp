// Every menu command of the main window triggered once in the running program on a serial line,
// with what the operator (or the gateway) sees happen: a dialog opened, a box, check marks, the
// preferences file rewritten, a file handed to the viewer, the window's size or title, a line sent.
#include <QFileDialog>
#include <algorithm>

#include "gui/DesktopViewer.h"
#include "gui/ProgramRig.h"
#include "support/FileBytes.h"
#include "support/PseudoTerminal.h"

namespace mav::test {
namespace {

// Every command id of the menu bar.
constexpr int kMenuIds[] = {40002, 40003, 40011, 40050, 40001, 40065, 40004, 40008, 40014, 40063,
                            40009, 40010, 40045, 40062, 40046, 40060, 40051, 40041, 40042, 40057,
                            40058, 40068, 40069, 40029, 40031, 40012, 40070, 40018, 40019, 40020,
                            40067, 40066, 40059, 40037, 40039, 40036, 40038, 40021, 40022, 40023,
                            40024, 40025, 40026, 40027, 40005, 40064, 40071, 40072};

class MenuCommandsTest : public ProgramRig {
 protected:
  // Dialogs are recorded by caption and closed; the title dialog gets a title first.
  void record_dialogs() {
    prompts_.dialog_script = [this](QDialog& dialog) {
      seen_ += " dialog:" + dialog.windowTitle().toStdString();
      if (QLineEdit* title = child<QLineEdit>(dialog, 1347)) {
        title->setText("Tower");
        dialog.done(QDialog::Accepted);
      }
      return dialog.result();
    };
    prompts_.answer_yes = false;
  }

  // Triggers the command and describes what changed.
  std::string effect_of(int command) {
    std::map<int, bool> marks;
    for (int id : kMenuIds) marks[id] = checked(id);
    const Bytes prefs = read_bytes(prefs_file());
    const QSize size = window().frameGeometry().size();
    const bool maximized = window().isMaximized();
    const std::string shown_title = title();
    const std::string viewed = viewer_.shown();
    const std::size_t asked = prompts_.asked.size();
    const std::size_t told = prompts_.told.size();
    QWidgetList windows_shown;
    for (QWidget* shown : QApplication::topLevelWidgets())
      if (shown->isVisible()) windows_shown << shown;
    program_->session().resync_requested = false;
    seen_.clear();

    trigger(command);

    for (std::size_t i = asked; i < prompts_.asked.size(); ++i)
      seen_ += " ask:" + prompts_.asked[i].text;
    for (std::size_t i = told; i < prompts_.told.size(); ++i)
      seen_ += " tell:" + prompts_.told[i].text;
    for (int id : kMenuIds) {
      if (checked(id) != marks[id]) seen_ += (checked(id) ? " +" : " -") + std::to_string(id);
    }
    if (read_bytes(prefs_file()) != prefs) seen_ += " prefs";
    if (viewer_.shown() != viewed) {
      seen_ += " view:" + std::filesystem::path(viewer_.shown()).filename().string();
    }
    if (window().frameGeometry().size() != size) {
      seen_ += " size:" + std::to_string(window().frameGeometry().width()) + "x" +
               std::to_string(window().frameGeometry().height());
    }
    if (window().isMaximized() != maximized) seen_ += maximized ? " normal" : " maximized";
    if (title() != shown_title) seen_ += " title";
    if (program_->session().resync_requested) seen_ += " resync";
    for (QWidget* shown : QApplication::topLevelWidgets()) {
      if (shown->isVisible() && !windows_shown.contains(shown))
        seen_ += " window:" + shown->windowTitle().toStdString();
    }
    return seen_.empty() ? seen_ : seen_.substr(1);
  }

  std::string seen_;
  DesktopViewer viewer_{true};
};

TEST_F(MenuCommandsTest, EveryCommandHasItsEffect) {
  const struct {
    int command;
    const char* effect;
    const char* line = "";  // sent to the gateway
  } rows[] = {
      {40063, "view:Recent.txt"},
      {40009, "view:MAVLog_tmp.txt"},
      {40010, "dialog:Select new Log file tell:No new log file selected"},
      {40059, "dialog:Set Color Scheme"},
      {40065, "dialog:Select Network Site"},
      {40004, "dialog:Select Serial Port"},
      {40008, "dialog:Security Settings"},
      {40014, "dialog:Password Protection"},
      {40011, "resync"},
      {40051, "", "VPMTS OFF\r"},  // the mark waits for the gateway's report
      {40029, "-40029 prefs", "COR_LED OFF\r"},
      {40031, "-40031 prefs", "PTT_LED OFF\r"},
      {40012, "-40012"},  // kept in memory until the next save
      {40070, "-40070 prefs"},
      {40042, "-40041 +40042"},
      {40041, "+40041 -40042"},
      {40058, "-40057 +40058 prefs"},
      {40057, "+40057 -40058 prefs"},
      {40069, "-40068 +40069 prefs"},
      {40068, "+40068 -40069 prefs"},
      {40019, "-40018 +40019 prefs size:1024x768 normal"},
      {40020, "-40019 +40020 prefs size:1280x1024"},
      {40018, "+40018 -40020 prefs size:800x600 maximized"},  // the display is 800 wide
      {40066, "dialog:MAV Controller -40067 +40066 prefs title"},
      {40067, "+40067 -40066 prefs title"},
      {40037, "+40037 -40039 prefs"},
      {40036, "-40037 +40036 prefs"},
      {40038, "-40036 +40038 prefs"},
      {40039, "+40039 -40038 prefs"},
      {40064, "view:MAV C_Help.html"},
      {40071, "window:Protocol Trace"},
      {40045, "ask:Connect All:\rAre you sure?"},  // answered No
      {40046, "ask:Disconnect All:\rAre you sure?"},
      {40021, ""},  // Net 1 to Net 7 mark the ports of a net, and no net has any here
      {40027, ""},
      // No module is known on this line: the configuration commands refuse before any file.
      {40002, "tell:No data to save"},
      {40003, "tell:Get configuration from MAV first"},
      {40050, "dialog:MAV Controller"},  // the confirmation, answered No
      {40072, "tell:Get configuration from MAV first"},
      {40060, "tell:Get configuration from MAV first"},
      {40062, "tell:Get configuration from MAV first"},
      {40005,
       "tell:MAV Controller\rVersion 0.1\rThe operator's program for the MAV-7700 audio "
       "interconnect gateway.\rCopyright Orvane Systems. All rights reserved."},
      {40001,
       "ask:The MAV Controller automatically saves your configuration\rwhen you close the "
       "program.  You can restore this configuration\rthe next time you run the MAV Controller "
       "with the Restore Last\rConfig command in the File Menu.\rDo you want to see this reminder "
       "in the future? prefs"},
  };
  PseudoTerminal line;
  start_on_serial_port(line.name());
  record_dialogs();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.command);
    EXPECT_EQ(effect_of(row.command), row.effect);
    if (*row.line) {
      std::string received;
      for (int i = 0; i < 50 && received.find(row.line) == std::string::npos; ++i) {
        received += line.read(1, std::chrono::milliseconds(200));
      }
      EXPECT_NE(received.find(row.line), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace mav::test
