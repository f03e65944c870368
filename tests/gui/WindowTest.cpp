// The main window in the running program: start-up from the preferences file, the run's own
// connection, every menu command and its effect, the mouse and keys on the matrix, and commands
// held back while a configuration replay owns the wire.
#include <QFileDialog>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include "frontend/MenuIds.h"
#include "gui/ProgramRig.h"
#include "matrix/MatrixGeometry.h"
#include "support/FileBytes.h"
#include "support/FileText.h"

namespace mav::test {
namespace {

using MainWindowTest = ProgramRig;

TEST_F(MainWindowTest, AnUnknownFileVersionIsReplacedAndACustomTitleNeedsASerialPort) {
  Bytes old(32368, 0);
  old[0] = 20;
  write_bytes(prefs_file(), old);
  start();
  trigger(40066);
  EXPECT_EQ(prompts_.told_texts(),
            (std::vector<std::string>{
                "New Preferences file created",
                "This feature can only be used when\ra serial port is being used."}));
  EXPECT_EQ(read_bytes(prefs_file())[0], 27);
  EXPECT_TRUE(prompts_.dialogs_run == 0 && !checked(40066));
}

// The command line's choice for this run only; nothing listens on the network site.
TEST_F(MainWindowTest, RunConnectionsAreUsedButNeverStored) {
  Preferences prefs;
  prefs.auto_connect = prefs.network_mode = true;
  prefs.sites = {{{127, 0, 0, 1}, 1, "Stored"}};
  write_preferences(prefs);
  start({RunConnection::Kind::None, {}, 0, "", 0, ""});
  EXPECT_EQ(title(), "Not Connected - MAV Controller - Orvane Systems");
  EXPECT_TRUE(!program_->link().is_open() && checked(40068));
  stop();
  PseudoTerminal line;
  start({RunConnection::Kind::Serial, {}, 0, line.name(), 115200, ""});
  EXPECT_EQ(program_->link().device_name().value_or("") + " " +
                std::to_string(program_->link().baud_rate()),
            line.name() + " 115200");
  EXPECT_EQ(title(), line.name() + " - MAV Controller - Orvane Systems");
  stop();
  start({RunConnection::Kind::Network, {127, 0, 0, 2}, 9, "", 0, ""});
  EXPECT_EQ(title(), "Connecting to Remote Site - MAV Controller - Orvane Systems");
  stop();
  const Preferences saved = saved_preferences();
  EXPECT_TRUE(saved.auto_connect && saved.network_mode && saved.recent.empty());
  EXPECT_EQ(saved.sites.size(), 1u);
  EXPECT_EQ(saved.serial_port_name, Preferences{}.serial_port_name);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "Sites.cfg"));
}

class MenuCommandsTest : public ProgramRig {
 protected:
  std::map<int, bool> marks() {
    std::map<int, bool> marks;
    for (const QAction* item : window().findChildren<QAction*>()) {
      if (item->data().toInt() > 0) marks[item->data().toInt()] = item->isChecked();
    }
    return marks;
  }
  // Triggers the command and describes what changed; changed preferences bytes as "@offset:HEX".
  std::string effect_of(int command) {
    const auto marks_before = marks();
    const Bytes before = read_bytes(prefs_file());
    const QSize size = window().frameGeometry().size();
    const bool maximized = window().isMaximized();
    const std::string shown_title = title();
    prompts_.asked.clear();
    prompts_.told.clear();
    program_->session().resync_requested = false;
    seen_.clear();
    if (command == menu::kExit) {
      // Run inside the loop: a pending request to end it would end the next modal loop at once.
      QTimer::singleShot(0, [&] { trigger(command); });
      EXPECT_EQ(program_->run(), 0);
    } else {
      trigger(command);
    }
    for (const auto& box : prompts_.asked) seen_ += " ask:" + box.text;
    for (const auto& box : prompts_.told) seen_ += " tell:" + box.text;
    for (const auto& [id, mark] : marks()) {
      if (mark != marks_before.at(id)) seen_ += (mark ? " +" : " -") + std::to_string(id);
    }
    const Bytes after = read_bytes(prefs_file());
    for (std::size_t i = 0; i < after.size(); ++i) {
      if (before.at(i) == after[i]) continue;
      if (i == 0 || before[i - 1] == after[i - 1]) seen_ += " @" + std::to_string(i) + ":";
      seen_ += QByteArray(1, static_cast<char>(after[i])).toHex().toUpper().toStdString();
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

class MatrixInputTest : public ProgramRig {
 protected:
  void SetUp() override {
    start();
    for (int p : {3, 7}) program_->model().Update(p, [](PortRecord& r) { r.mod_type = MOD_TOV5; });
    matrix().paint_now();
  }
  MatrixWidget& matrix() { return *static_cast<MatrixWidget*>(window().centralWidget()); }
  QPoint port_position(int port) {
    return {ColumnLeft(matrix().layout(), port) + 5, IconTop(matrix().layout().screen_size, 0) + 5};
  }
};

// Alt+C opens the Connect menu and types nothing; keys typed to the menu bar are commands.
TEST_F(MatrixInputTest, MouseAndKeysReachTheGestures) {
  const auto selected = [&] {
    return program_->session().selection_pending() ? program_->session().selected_index.load() : -1;
  };
  QTest::mouseClick(&matrix(), Qt::LeftButton, {}, port_position(7));
  QTest::mouseClick(&matrix(), Qt::LeftButton, Qt::ShiftModifier, port_position(3));
  EXPECT_EQ(selected(), 7);
  QTest::mouseClick(&matrix(), Qt::LeftButton, {}, QPoint(400, 580));
  EXPECT_EQ(selected(), -1);
  window().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
  QTest::keyClick(&matrix(), Qt::Key_C, Qt::AltModifier);
  QWidget* menu = QApplication::activePopupWidget();
  ASSERT_NE(menu, nullptr);
  menu->close();
  QTest::keyClicks(window().menuBar(), "03");
  EXPECT_EQ(selected(), -1);
  QTest::keyClicks(window().menuBar(), "c03");
  EXPECT_EQ(selected(), 3);
  QTest::keyClick(&matrix(), Qt::Key_Escape);
  EXPECT_EQ(selected(), -1);
}

TEST_F(MainWindowTest, CommandsWaitWhileAReplayOwnsTheWire) {
  start();
  const bool sound = checked(40012);
  program_->session().replay_running = true;
  trigger(40012);
  process_events_until([] { return false; }, 300);
  EXPECT_EQ(checked(40012), sound);
  program_->session().replay_running = false;
  EXPECT_TRUE(process_events_until([&] { return checked(40012) != sound; }));
}

TEST_F(MainWindowTest, NewLogIsChosenStoredAndTakesTheNextEntry) {
  start();
  const std::filesystem::path logs = dir_ / "Logs";
  with_dialog(40010, [&](QDialog& dialog) {
    auto& chooser = dynamic_cast<QFileDialog&>(dialog);
    EXPECT_EQ(chooser.nameFilters(), QStringList{"Log files (*.LOG *.log)"});
    chooser.selectFile("Shift2");
    QMetaObject::invokeMethod(&chooser, "accept");  // its own OK adds the extension
  });
  const std::string chosen = (logs / "Shift2.log").string();
  EXPECT_EQ(get_text(read_bytes(prefs_file()), 276), chosen);
  const std::string before = file_text(logs / "MAVPCI1.log");
  program_->log().write_log_entry("after the switch");
  const std::string text = file_text(chosen);
  EXPECT_TRUE(text.starts_with("Date        Time    Module   Action\n----") &&
              text.ends_with("  after the switch\n"))
      << text;
  EXPECT_EQ(file_text(logs / "MAVPCI1.log"), before);
}

}  // namespace
}  // namespace mav::test
