// The main window driven as the operator does: start-up from the preferences file, titles, the
// connection indicator, the menu bar with its ids, captions and marks, each shell command keeping
// mark, field and file in step, the size rule, and the manual without a desktop viewer.
#include <QActionGroup>
#include <QLabel>
#include <QMenuBar>
#include <QTextBrowser>

#include "gui/DesktopViewer.h"
#include "gui/ProgramRig.h"
#include "support/FileBytes.h"
#include "support/PseudoTerminal.h"

namespace mav::test {
namespace {

class MainWindowTest : public ProgramRig {
 protected:
  void answer_title_dialog(const char* typed, QDialog::DialogCode answer) {
    prompts_.dialog_script = [this, typed, answer](QDialog& dialog) {
      opened_with_ = child<QLineEdit>(dialog, 1347)->text().toStdString();
      EXPECT_GE(dialog.minimumWidth(), 350);  // a long title fits
      child<QLineEdit>(dialog, 1347)->setText(typed);
      dialog.done(answer);
      return int{answer};
    };
  }
  std::string indicator() {
    return static_cast<QLabel*>(window().menuBar()->cornerWidget())->text().toStdString();
  }

  std::string opened_with_;  // what the title dialog showed when it opened
};

TEST_F(MainWindowTest, FirstStartCreatesTheFileQuietlyAndAlternatesTheSaveSlot) {
  start();
  EXPECT_EQ(title(), "Not Connected - MAV Controller - Orvane Systems");
  EXPECT_TRUE(prompts_.told.empty());
  Bytes bytes = read_bytes(prefs_file());
  ASSERT_EQ(bytes.size(), 32368u);
  EXPECT_EQ(bytes[0], 27);
  EXPECT_EQ(bytes[1], 1);
  stop();

  start();
  EXPECT_EQ(read_bytes(prefs_file())[1], 0);
  stop();
  start();
  EXPECT_EQ(read_bytes(prefs_file())[1], 1);
  const auto entries = program_->log().recent_entries();
  EXPECT_NE(entries[0].find("*** MAV Controller began running"), std::string::npos);
}

TEST_F(MainWindowTest, UnknownPreferencesVersionIsReplacedAndTheOperatorTold) {
  Bytes old(32368, 0);
  old[0] = 20;
  write_bytes(prefs_file(), old);
  start();
  ASSERT_EQ(prompts_.told.size(), 1u);
  EXPECT_EQ(prompts_.told[0].text, "New Preferences file created");
  EXPECT_EQ(prompts_.told[0].caption, "MAV Controller");
  EXPECT_EQ(read_bytes(prefs_file())[0], 27);
}

TEST_F(MainWindowTest, MenuBarCarriesEveryCommandWithItsCaption) {
  start();
  const int ids[] = {40002, 40003, 40011, 40050, 40001, 40065, 40004, 40008, 40014, 40063, 40009,
                     40010, 40045, 40062, 40046, 40060, 40051, 40041, 40042, 40057, 40058, 40068,
                     40069, 40029, 40031, 40012, 40070, 40018, 40019, 40020, 40067, 40066, 40059,
                     40037, 40039, 40036, 40038, 40021, 40027, 40005, 40064};
  const QString captions =
      "&Save Configuration|&Load Configuration|&Retrieve Current Config|"
      "Restore Last &Config|E&xit|Select &Network Site...|Select &Serial Port...|"
      "PIN &Settings...|&Password Protection...|View Recent &Log|View &Entire Log|&New Log|"
      "Connect &All|Re&vert|&Disconnect All|Revert|Vo&ice Prompts|Disconnect|Edit Settings|"
      "Automatic Switching &On|Automatic Switching Of&f|On|Off|&COR Reporting|"
      "&PTT Reporting|&Sound|Hover Icon Description|&800 x 600|&1024 x 768|12&80 x 1024|"
      "Use Default|Use &Custom...|Change C&olors...|&Slow|&Medium|&Fast|&Off|Net &1|Net &7|"
      "&About|&Manual";
  QStringList shown;
  for (int id : ids) shown << (action(id) ? action(id)->text() : QString("(no item %1)").arg(id));
  EXPECT_EQ(shown, captions.split('|'));
  QStringList popups;
  for (QAction* popup : window().menuBar()->actions()) popups << popup->text();
  EXPECT_EQ(popups,
            QStringList({"&File", "&Connect", "&Options", "&Display", "&PermConn", "&Help"}));
  EXPECT_EQ(action(40070)->statusTip(),
            "Displays module name when the cursor is moved over an icon.");
}

TEST_F(MainWindowTest, MarksFollowThePreferencesAtStartUp) {
  start();
  // The default animation delay, 500, has no entry of its own: Medium stays marked.
  for (int id :
       {40051, 40041, 40057, 40069, 40029, 40031, 40012, 40070, 40019, 40067, 40039, 40036}) {
    EXPECT_EQ(checked(id), id != 40019 && id != 40036) << id;
  }
  EXPECT_TRUE(checked(40018));  // the offscreen display is 800 pixels wide
  stop();

  Preferences prefs;
  prefs.sound_on = false;
  prefs.cor_reporting = false;
  prefs.hover_descriptions = true;
  prefs.auto_indicator_switching = false;
  prefs.animation_delay = 650;
  prefs.screen_size = 2;
  write_preferences(prefs);
  start();
  for (int id : {40031, 40070, 40058, 40037, 40020}) EXPECT_TRUE(checked(id)) << id;
  for (int id : {40012, 40029, 40057, 40039, 40018}) EXPECT_FALSE(checked(id)) << id;
  EXPECT_EQ(window().frameGeometry().size(), QSize(1280, 1024));  // frame included
}

TEST_F(MainWindowTest, ShellCommandsKeepMarkFieldAndFileInStep) {
  struct Step {
    int command;
    int now_checked;     // 0: none
    int now_unchecked;   // 0: none
    Bytes flags;         // bytes 1056-1069 of the file: the switches and the animation delay
    std::uint8_t hover;  // byte 31644
  };
  // Sound and the right button change memory only; the next save carries them.
  const Step steps[] = {
      {40029, 0, 40029, {0, 0, 1, 0, 0, 0, 0, 1, 1, 1, 1, 1, 0xF4, 1}, 1},
      {40029, 40029, 0, {0, 0, 1, 0, 0, 0, 1, 1, 1, 1, 1, 1, 0xF4, 1}, 1},
      {40031, 0, 40031, {0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 1, 1, 0xF4, 1}, 1},
      {40070, 0, 40070, {0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 1, 1, 0xF4, 1}, 0},
      {40070, 40070, 0, {0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 1, 1, 0xF4, 1}, 1},
      {40068, 40068, 40069, {0, 1, 1, 0, 0, 0, 1, 0, 1, 1, 1, 1, 0xF4, 1}, 1},
      {40058, 40058, 40057, {0, 1, 1, 0, 0, 0, 1, 0, 1, 1, 0, 1, 0xF4, 1}, 1},
      {40037, 40037, 40039, {0, 1, 1, 0, 0, 0, 1, 0, 1, 1, 0, 1, 0x8A, 2}, 1},
      {40038, 40038, 40037, {0, 1, 1, 0, 0, 0, 1, 0, 1, 1, 0, 1, 0, 0}, 1},
      {40012, 0, 40012, {0, 1, 1, 0, 0, 0, 1, 0, 1, 1, 0, 1, 0, 0}, 1},
      {40042, 40042, 40041, {0, 1, 1, 0, 0, 0, 1, 0, 1, 1, 0, 1, 0, 0}, 1},
      {40029, 0, 40029, {0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0}, 1},
  };
  start();
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    const Step& step = steps[i];
    SCOPED_TRACE(testing::Message() << "step " << i << ", command " << step.command);
    trigger(step.command);
    EXPECT_TRUE(step.now_checked == 0 || checked(step.now_checked));
    EXPECT_TRUE(step.now_unchecked == 0 || !checked(step.now_unchecked));
    const Bytes bytes = read_bytes(prefs_file());
    EXPECT_EQ((Bytes{bytes.begin() + 1056, bytes.begin() + 1070}), step.flags);
    EXPECT_EQ(bytes[31644], step.hover);
  }
}

TEST_F(MainWindowTest, WindowCanShrinkButSnapsBackFromLarger) {
  start();
  window().move(40, 30);
  window().resize(900, 700);
  EXPECT_EQ(window().frameGeometry().size(), QSize(800, 600));
  EXPECT_EQ(window().pos(), QPoint(40, 30));
  window().resize(640, 480);
  EXPECT_EQ(window().size(), QSize(640, 480));
  // Below the menu bar the window may be 526 pixels high, no more.
  const int menu_bar = window().menuBar()->height();
  window().resize(700, 526 + menu_bar);
  EXPECT_EQ(window().size(), QSize(700, 526 + menu_bar));
  window().resize(700, 527 + menu_bar);
  EXPECT_EQ(window().frameGeometry().size(), QSize(800, 600));

  trigger(40019);
  EXPECT_TRUE(checked(40019));
  EXPECT_FALSE(checked(40018));
  EXPECT_EQ(window().frameGeometry().size(), QSize(1024, 768));
  EXPECT_EQ(read_bytes(prefs_file())[2], 1);
}

TEST_F(MainWindowTest, SerialPortAtStartUpGivesTheSerialTitles) {
  PseudoTerminal line;
  start_on_serial_port(line.name());
  EXPECT_EQ(title(), line.name() + " - MAV Controller - Orvane Systems");
  EXPECT_TRUE(checked(40068));
  EXPECT_EQ(window().menus().action(50000)->text().toStdString(),
            "&1 - " + line.name() + ", 9600 Baud (Serial Port)");

  // Cancelled, the typed title changes nothing.
  answer_title_dialog("Ignored", QDialog::Rejected);
  trigger(40066);
  EXPECT_EQ(opened_with_, "MAV Controller - Orvane Systems");
  EXPECT_EQ(title(), line.name() + " - MAV Controller - Orvane Systems");
  EXPECT_FALSE(checked(40066));
  EXPECT_EQ(read_bytes(prefs_file())[1056], 0);

  answer_title_dialog("Tower", QDialog::Accepted);
  trigger(40066);
  EXPECT_EQ(title(), "Tower - [" + line.name() + "] - MAV Controller - Orvane Systems");
  EXPECT_TRUE(checked(40066));
  EXPECT_FALSE(checked(40067));
  EXPECT_EQ(get_text(read_bytes(prefs_file()), 796), "Tower");
  EXPECT_EQ(read_bytes(prefs_file())[1056], 1);

  trigger(40067);
  EXPECT_EQ(title(), line.name() + " - MAV Controller - Orvane Systems");
  EXPECT_TRUE(checked(40067));
  trigger(40066);
  EXPECT_EQ(opened_with_, "Tower");
}

TEST_F(MainWindowTest, ConnectionIndicatorFollowsTheLink) {
  PseudoTerminal line;
  Preferences prefs;
  prefs.serial_port_name = line.name();
  prefs.auto_connect = true;
  prefs.sites = {{{127, 0, 0, 1}, 1, "North"}};
  write_preferences(prefs);
  start();
  const auto shows = [&](const std::string& text) {
    // The test takes the worker's part: the reply time-out and the received bytes.
    return process_events_until([&] {
      program_->link().poll_receive();
      return indicator() == text;
    });
  };
  EXPECT_TRUE(shows("Connected to " + line.name() + " (serial)"));
  // Nobody answers the start-up questions; a line from the gateway brings the link back.
  EXPECT_TRUE(process_events_until([&] {
    program_->link().poll_receive();
    return indicator().rfind("Lost contact with " + line.name() + " (serial) since ", 0) == 0;
  }));
  ASSERT_TRUE(line.write("OK\r"));
  EXPECT_TRUE(shows("Connected to " + line.name() + " (serial)"));

  // Nothing listens on port 1: the connect stays under way until its timer gives up.
  program_->application().select_connection(0);
  EXPECT_TRUE(shows("Connecting to North (network)"));
  program_->application().select_connection(-1);
  EXPECT_TRUE(shows("Not connected"));
}

TEST_F(MainWindowTest, ExclusiveChoicesKeepOneRadioMark) {
  struct Click {
    int command;
    int marked;  // the one mark of its group afterwards
  };
  const Click clicks[] = {
      {40020, 40020}, {40020, 40020},  // clicking the marked choice again keeps it
      {40038, 40038}, {40039, 40039}, {40042, 40042}, {40041, 40041}, {40058, 40058},
      {40068, 40068}, {40069, 40069}, {40066, 40067},  // refused without a serial port: the default
                                                       // title keeps its mark
  };
  start();
  for (const Click& click : clicks) {
    SCOPED_TRACE(click.command);
    trigger(click.command);
    const QActionGroup* group = action(click.command)->actionGroup();
    ASSERT_NE(group, nullptr);
    EXPECT_TRUE(group->isExclusive());
    int marks = 0;
    for (const QAction* member : group->actions()) {
      EXPECT_TRUE(member->isCheckable());
      marks += member->isChecked() ? 1 : 0;
    }
    EXPECT_EQ(marks, 1);
    EXPECT_TRUE(checked(click.marked));
  }
}

TEST_F(MainWindowTest, ManualWithoutADesktopViewerOpensTheProgramsOwnWindow) {
  const DesktopViewer no_viewer(false);
  start();
  trigger(40064);
  trigger(40064);
  const auto windows = window().findChildren<QTextBrowser*>("manualWindow");
  ASSERT_EQ(windows.size(), 1);  // the second request raises the same window
  EXPECT_TRUE(windows[0]->isWindow());
  EXPECT_TRUE(windows[0]->isVisible());
  EXPECT_EQ(windows[0]->source().toLocalFile().toStdString(),
            (dir_.path() / "MAV C_Help.html").string());
}

TEST_F(MainWindowTest, CustomTitleIsForSerialPortsOnly) {
  start();
  trigger(40066);
  ASSERT_EQ(prompts_.told_texts(),
            (std::vector<std::string>{
                "This feature can only be used when\ra serial port is being used."}));
  EXPECT_EQ(prompts_.dialogs_run, 0);
  EXPECT_FALSE(checked(40066));
}

TEST_F(MainWindowTest, MissingStartUpPortEmptiesTheNameAndOffersTheDialog) {
  start_on_serial_port((dir_.path() / "no-such-device").string());
  EXPECT_EQ(title(), "Not Connected - MAV Controller - Orvane Systems");
  ASSERT_TRUE(process_events_until([&] { return prompts_.dialogs_run == 1; }));
  EXPECT_EQ(program_->application().preferences().serial_port_name, "");
}

TEST_F(MainWindowTest, NetworkModeWithoutSitesOpensNothing) {
  Preferences prefs;
  prefs.auto_connect = true;
  prefs.network_mode = true;
  write_preferences(prefs);
  start();
  EXPECT_EQ(title(), "Not Connected - MAV Controller - Orvane Systems");
  EXPECT_FALSE(program_->link().is_open());
  EXPECT_TRUE(checked(40069));
}

TEST_F(MainWindowTest, ExitReminderAnsweredNoIsNotShownAgain) {
  start();
  prompts_.answer_yes = false;
  window().close();
  ASSERT_EQ(prompts_.asked.size(), 1u);
  EXPECT_EQ(prompts_.asked[0].text,
            "The MAV Controller automatically saves your configuration\rwhen you close the "
            "program.  You can restore this configuration\rthe next time you run the MAV "
            "Controller with the Restore Last\rConfig command in the File Menu.\rDo you want to "
            "see this reminder in the future?");
  EXPECT_EQ(read_bytes(prefs_file())[1067], 0);
  stop();
  start();
  window().close();
  EXPECT_EQ(prompts_.asked.size(), 1u);
}

}  // namespace
}  // namespace mav::test
