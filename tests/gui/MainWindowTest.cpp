// The main window's own rules: start-up from the preferences file, titles, the size rule, the
// custom title dialog, the exit reminder and the manual without a desktop viewer.
#include <QMenuBar>
#include <QTextBrowser>

#include "gui/DesktopViewer.h"
#include "gui/ProgramRig.h"
#include "support/FileBytes.h"

namespace mav::test {
namespace {

constexpr const char* kNotConnected = "Not Connected - MAV Controller - Orvane Systems";

using MainWindowTest = ProgramRig;

TEST_F(MainWindowTest, UnknownPreferencesVersionIsReplacedAndTheOperatorTold) {
  Bytes old(32368, 0);
  old[0] = 20;
  write_bytes(prefs_file(), old);
  start();
  ASSERT_EQ(prompts_.told_texts(), std::vector<std::string>{"New Preferences file created"});
  EXPECT_EQ(prompts_.told[0].caption, "MAV Controller");
  EXPECT_EQ(read_bytes(prefs_file())[0], 27);
  EXPECT_EQ(title(), kNotConnected);
}

TEST_F(MainWindowTest, MarksFollowThePreferencesAtStartUp) {
  Preferences prefs;
  prefs.sound_on = false;
  prefs.cor_reporting = false;
  prefs.hover_descriptions = true;
  prefs.auto_indicator_switching = false;
  prefs.animation_delay = 650;
  prefs.screen_size = 2;
  prefs.network_mode = true;
  prefs.auto_connect = true;
  write_preferences(prefs);
  start();
  std::string marks;
  for (int id : {40031, 40070, 40058, 40037, 40020, 40069, 40012, 40029, 40057, 40039, 40018}) {
    marks += checked(id) ? "x" : "-";
  }
  EXPECT_EQ(marks, "xxxxxx-----");
  EXPECT_EQ(window().frameGeometry().size(), QSize(1280, 1024));  // frame included
  // Network mode without sites opens nothing, and auto-connect is shown off.
  EXPECT_EQ(title(), kNotConnected);
  EXPECT_FALSE(program_->link().is_open());
}

TEST_F(MainWindowTest, WindowCanShrinkButSnapsBackFromLarger) {
  start();
  window().move(40, 30);
  window().resize(900, 700);
  EXPECT_EQ(window().frameGeometry().size(), QSize(800, 600));
  EXPECT_EQ(window().pos(), QPoint(40, 30));
  // Below the menu bar the window may be 526 pixels high, no more.
  const int menu_bar = window().menuBar()->height();
  window().resize(700, 526 + menu_bar);
  EXPECT_EQ(window().size(), QSize(700, 526 + menu_bar));
  window().resize(700, 527 + menu_bar);
  EXPECT_EQ(window().frameGeometry().size(), QSize(800, 600));
}

TEST_F(MainWindowTest, CustomTitleIsForSerialPortsOnlyAndCancelChangesNothing) {
  start();
  trigger(40066);
  EXPECT_EQ(
      prompts_.told_texts(),
      std::vector<std::string>{"This feature can only be used when\ra serial port is being used."});
  EXPECT_EQ(prompts_.dialogs_run, 0);
  EXPECT_TRUE(!checked(40066) && checked(40067));
  stop();

  PseudoTerminal line;
  start_on_serial_port(line.name());
  with_dialog(40066, [](QDialog& dialog) {
    EXPECT_GE(dialog.minimumWidth(), 350);  // a long title fits
    type(dialog, 1347, "Ignored");
    dialog.reject();
  });
  EXPECT_EQ(title(), line.name() + " - MAV Controller - Orvane Systems");
  EXPECT_FALSE(checked(40066));
  EXPECT_EQ(read_bytes(prefs_file())[1056], 0);
}

TEST_F(MainWindowTest, ManualWithoutADesktopViewerOpensTheProgramsOwnWindow) {
  const DesktopViewer no_viewer(false);
  start();
  trigger(40064);
  trigger(40064);
  const auto windows = window().findChildren<QTextBrowser*>("manualWindow");
  ASSERT_EQ(windows.size(), 1);  // the second request raises the same window
  EXPECT_TRUE(windows[0]->isWindow() && windows[0]->isVisible());
  EXPECT_EQ(windows[0]->source().toLocalFile().toStdString(),
            (dir_.path() / "MAV C_Help.html").string());
}

// The command line's choice for this run only.
TEST_F(MainWindowTest, RunConnectionsAreUsedButNeverStored) {
  Preferences prefs;
  prefs.auto_connect = true;
  prefs.network_mode = true;
  prefs.sites = {{{127, 0, 0, 1}, 1, "Stored"}};
  write_preferences(prefs);
  start({RunConnection::Kind::None, {}, 0, "", 0});
  EXPECT_EQ(title(), kNotConnected);
  EXPECT_TRUE(!program_->link().is_open() && checked(40068));
  stop();

  PseudoTerminal line;
  start({RunConnection::Kind::Serial, {}, 0, line.name(), 115200});
  EXPECT_EQ(program_->link().device_name(), line.name());
  EXPECT_EQ(program_->link().baud_rate(), 115200u);
  EXPECT_EQ(title(), line.name() + " - MAV Controller - Orvane Systems");
  stop();
  const Preferences saved = saved_preferences();
  EXPECT_TRUE(saved.auto_connect && saved.network_mode && saved.recent.empty());
  EXPECT_EQ(saved.sites.size(), 1u);
  EXPECT_EQ(saved.serial_port_name, Preferences{}.serial_port_name);
}

}  // namespace
}  // namespace mav::test
