// The main window driven as the operator does: start-up from the preferences file, titles, the
// menu bar with its ids, captions and marks, each shell command keeping mark, field and file in
// step, and the size rule.
#include <QMenuBar>

#include "app/FileBytes.h"
#include "gui/ProgramRig.h"
#include "support/PseudoTerminal.h"

namespace mav::test {
namespace {

using MainWindowTest = ProgramRig;

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
  const std::vector<std::pair<int, const char*>> items = {
      {40002, "&Save Configuration"},
      {40003, "&Load Configuration"},
      {40011, "&Retrieve Current Config"},
      {40050, "Restore Last &Config"},
      {40001, "E&xit"},
      {40065, "Select &Network Site..."},
      {40004, "Select &Serial Port..."},
      {40008, "PIN &Settings..."},
      {40014, "&Password Protection..."},
      {40063, "View Recent &Log"},
      {40009, "View &Entire Log"},
      {40010, "&New Log"},
      {40045, "Connect &All"},
      {40062, "Re&vert"},
      {40046, "&Disconnect All"},
      {40060, "Revert"},
      {40051, "Vo&ice Prompts"},
      {40041, "Disconnect"},
      {40042, "Edit Settings"},
      {40057, "Automatic Switching &On"},
      {40058, "Automatic Switching Of&f"},
      {40068, "On"},
      {40069, "Off"},
      {40029, "&COR Reporting"},
      {40031, "&PTT Reporting"},
      {40012, "&Sound"},
      {40070, "Hover Icon Description"},
      {40018, "&800 x 600"},
      {40019, "&1024 x 768"},
      {40020, "12&80 x 1024"},
      {40067, "Use Default"},
      {40066, "Use &Custom..."},
      {40059, "Change C&olors..."},
      {40037, "&Slow"},
      {40039, "&Medium"},
      {40036, "&Fast"},
      {40038, "&Off"},
      {40021, "Net &1"},
      {40027, "Net &7"},
      {40005, "&About"},
      {40064, "&Manual"},
  };
  for (const auto& [id, caption] : items) {
    ASSERT_NE(action(id), nullptr) << id;
    EXPECT_EQ(action(id)->text().toStdString(), caption) << id;
  }
  QStringList popups;
  for (QAction* popup : window().menuBar()->actions()) popups << popup->text();
  EXPECT_EQ(popups,
            QStringList({"&File", "&Connect", "&Options", "&Display", "&PermConn", "&Help"}));
  EXPECT_EQ(action(40070)->statusTip(),
            "Displays module name when the cursor is moved over an icon.");
}

TEST_F(MainWindowTest, MarksFollowThePreferencesAtStartUp) {
  start();
  for (int id : {40051, 40041, 40057, 40069, 40029, 40031, 40012, 40070, 40019, 40067, 40039}) {
    EXPECT_EQ(checked(id), id != 40019) << id;
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
  EXPECT_FALSE(checked(40012));
  EXPECT_FALSE(checked(40029));
  EXPECT_TRUE(checked(40031));
  EXPECT_TRUE(checked(40070));
  EXPECT_FALSE(checked(40057));
  EXPECT_TRUE(checked(40058));
  EXPECT_TRUE(checked(40037));
  EXPECT_FALSE(checked(40039));
  EXPECT_TRUE(checked(40020));
  EXPECT_FALSE(checked(40018));
  EXPECT_EQ(window().size(), QSize(1280, 1024));
}

TEST_F(MainWindowTest, AnimationDelayOfNoMenuEntryKeepsTheMenusOwnMark) {
  start();  // the default 500 matches no entry
  EXPECT_TRUE(checked(40039));
  EXPECT_FALSE(checked(40036));
}

TEST_F(MainWindowTest, ShellCommandsKeepMarkFieldAndFileInStep) {
  start();
  trigger(40029);  // COR reporting off
  EXPECT_FALSE(checked(40029));
  EXPECT_EQ(read_bytes(prefs_file())[1062], 0);
  trigger(40029);
  EXPECT_TRUE(checked(40029));
  EXPECT_EQ(read_bytes(prefs_file())[1062], 1);

  trigger(40031);
  EXPECT_EQ(read_bytes(prefs_file())[1063], 0);

  trigger(40070);
  EXPECT_FALSE(checked(40070));
  EXPECT_EQ(read_bytes(prefs_file())[31644], 0);
  trigger(40070);
  EXPECT_EQ(read_bytes(prefs_file())[31644], 1);

  trigger(40068);
  EXPECT_TRUE(checked(40068));
  EXPECT_FALSE(checked(40069));
  EXPECT_EQ(read_bytes(prefs_file())[1057], 1);

  trigger(40058);
  EXPECT_TRUE(checked(40058));
  EXPECT_FALSE(checked(40057));
  EXPECT_EQ(read_bytes(prefs_file())[1066], 0);

  trigger(40037);
  EXPECT_TRUE(checked(40037));
  EXPECT_FALSE(checked(40039));
  Bytes bytes = read_bytes(prefs_file());
  EXPECT_EQ(bytes[1068] | bytes[1069] << 8, 650);
  trigger(40038);
  bytes = read_bytes(prefs_file());
  EXPECT_EQ(bytes[1068] | bytes[1069] << 8, 0);
  EXPECT_TRUE(checked(40038));
  EXPECT_FALSE(checked(40037));

  // Sound and the right button change memory only; the next save carries them.
  trigger(40012);
  EXPECT_FALSE(checked(40012));
  EXPECT_EQ(read_bytes(prefs_file())[1058], 1);
  trigger(40042);
  EXPECT_TRUE(checked(40042));
  EXPECT_FALSE(checked(40041));
  trigger(40029);
  bytes = read_bytes(prefs_file());
  EXPECT_EQ(bytes[1058], 0);
  EXPECT_EQ(bytes[1064], 0);
}

TEST_F(MainWindowTest, WindowCanShrinkButSnapsBackFromLarger) {
  start();
  window().move(40, 30);
  window().resize(900, 700);
  EXPECT_EQ(window().size(), QSize(800, 600));
  EXPECT_EQ(window().pos(), QPoint(40, 30));
  window().resize(640, 480);
  EXPECT_EQ(window().size(), QSize(640, 480));

  trigger(40019);
  EXPECT_TRUE(checked(40019));
  EXPECT_FALSE(checked(40018));
  EXPECT_EQ(window().size(), QSize(1024, 768));
  EXPECT_EQ(read_bytes(prefs_file())[2], 1);
}

TEST_F(MainWindowTest, SerialPortAtStartUpGivesTheSerialTitles) {
  PseudoTerminal line;
  Preferences prefs;
  prefs.serial_port_name = line.name();
  prefs.auto_connect = true;
  write_preferences(prefs);
  start();
  EXPECT_EQ(title(), line.name() + " - MAV Controller - Orvane Systems");
  EXPECT_TRUE(checked(40068));
  EXPECT_EQ(window().menus().action(50000)->text().toStdString(),
            "&1 - " + line.name() + ", 9600 Baud (Serial Port)");

  prompts_.dialog_script = [](QDialog& dialog) {
    dialog.findChild<QLineEdit*>("id1347")->setText("Tower");
    dialog.accept();
    return int{QDialog::Accepted};
  };
  trigger(40066);
  EXPECT_EQ(title(), "Tower - [" + line.name() + "] - MAV Controller - Orvane Systems");
  EXPECT_TRUE(checked(40066));
  EXPECT_FALSE(checked(40067));
  EXPECT_EQ(get_text(read_bytes(prefs_file()), 796), "Tower");
  EXPECT_EQ(read_bytes(prefs_file())[1056], 1);

  trigger(40067);
  EXPECT_EQ(title(), line.name() + " - MAV Controller - Orvane Systems");
  EXPECT_TRUE(checked(40067));
}

TEST_F(MainWindowTest, CustomTitleCancelledChangesNothing) {
  PseudoTerminal line;
  Preferences prefs;
  prefs.serial_port_name = line.name();
  prefs.auto_connect = true;
  write_preferences(prefs);
  start();
  const std::string before = title();
  prompts_.dialog_script = [](QDialog& dialog) {
    dialog.findChild<QLineEdit*>("id1347")->setText("Ignored");
    dialog.reject();
    return int{QDialog::Rejected};
  };
  trigger(40066);
  EXPECT_EQ(title(), before);
  EXPECT_FALSE(checked(40066));
  EXPECT_TRUE(checked(40067));
  EXPECT_EQ(read_bytes(prefs_file())[1056], 0);
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
  Preferences prefs;
  prefs.serial_port_name = (dir_.path() / "no-such-device").string();
  prefs.auto_connect = true;
  write_preferences(prefs);
  start();
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
