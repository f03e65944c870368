// The main window's own rules: start-up from the preferences file, the size rule, the custom
// title's refusal, the manual without a desktop viewer and the connection of this run only.
#include <QMenuBar>
#include <QTextBrowser>

#include "gui/DesktopViewer.h"
#include "gui/ProgramRig.h"
#include "support/FileBytes.h"

namespace mav::test {
namespace {

constexpr const char* kNotConnected = "Not Connected - MAV Controller - Orvane Systems";

using MainWindowTest = ProgramRig;

// An unknown version is replaced and the operator told; the marks follow the file.
TEST_F(MainWindowTest, StartsFromThePreferencesFile) {
  Bytes old(32368, 0);
  old[0] = 20;
  write_bytes(prefs_file(), old);
  start();
  EXPECT_EQ(prompts_.told_texts(), std::vector<std::string>{"New Preferences file created"});
  EXPECT_EQ(read_bytes(prefs_file())[0], 27);
  stop();

  Preferences prefs;
  prefs.sound_on = prefs.cor_reporting = prefs.auto_indicator_switching = false;
  prefs.hover_descriptions = prefs.network_mode = prefs.auto_connect = true;
  prefs.animation_delay = 650;
  prefs.screen_size = 2;
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

// Below the menu bar the window may be 526 pixels high, no more; larger snaps back in place.
TEST_F(MainWindowTest, WindowCanShrinkButSnapsBackFromLarger) {
  start();
  window().move(40, 30);
  const int menu_bar = window().menuBar()->height();
  window().resize(700, 526 + menu_bar);
  EXPECT_EQ(window().size(), QSize(700, 526 + menu_bar));
  window().resize(700, 527 + menu_bar);
  EXPECT_EQ(window().frameGeometry().size(), QSize(800, 600));
  EXPECT_EQ(window().pos(), QPoint(40, 30));
}

TEST_F(MainWindowTest, CustomTitleIsForSerialPortsAndTheManualOpensWithoutAViewer) {
  const DesktopViewer no_viewer(false);
  start();
  trigger(40066);
  EXPECT_EQ(
      prompts_.told_texts(),
      std::vector<std::string>{"This feature can only be used when\ra serial port is being used."});
  EXPECT_TRUE(prompts_.dialogs_run == 0 && !checked(40066) && checked(40067));
  trigger(40064);
  trigger(40064);
  const auto windows = window().findChildren<QTextBrowser*>("manualWindow");
  ASSERT_EQ(windows.size(), 1);  // the second request raises the same window
  EXPECT_TRUE(windows[0]->isWindow() && windows[0]->isVisible());
  EXPECT_EQ(windows[0]->source().toLocalFile().toStdString(),
            (dir_.path() / "MAV C_Help.html").string());
}

// The command line's choice for this run only; nothing listens on the network site.
TEST_F(MainWindowTest, RunConnectionsAreUsedButNeverStored) {
  Preferences prefs;
  prefs.auto_connect = prefs.network_mode = true;
  prefs.sites = {{{127, 0, 0, 1}, 1, "Stored"}};
  write_preferences(prefs);
  start({RunConnection::Kind::None, {}, 0, "", 0});
  EXPECT_EQ(title(), kNotConnected);
  EXPECT_TRUE(!program_->link().is_open() && checked(40068));
  stop();
  PseudoTerminal line;
  start({RunConnection::Kind::Serial, {}, 0, line.name(), 115200});
  EXPECT_EQ(program_->link().device_name().value_or("") + " " +
                std::to_string(program_->link().baud_rate()),
            line.name() + " 115200");
  EXPECT_EQ(title(), line.name() + " - MAV Controller - Orvane Systems");
  stop();
  start({RunConnection::Kind::Network, {127, 0, 0, 2}, 9, "", 0});
  EXPECT_EQ(title(), "Connecting to Remote Site - MAV Controller - Orvane Systems");
  stop();
  const Preferences saved = saved_preferences();
  EXPECT_TRUE(saved.auto_connect && saved.network_mode && saved.recent.empty());
  EXPECT_EQ(saved.sites.size(), 1u);
  EXPECT_EQ(saved.serial_port_name, Preferences{}.serial_port_name);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "Sites.cfg"));
}

}  // namespace
}  // namespace mav::test
