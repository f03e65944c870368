// The serial port dialog and the commands that talk to the gateway over a serial line: a real
// pseudo-terminal plays the gateway's port.
#include <QKeyEvent>
#include <QRadioButton>
#include <QTest>

#include "gui/ProgramRig.h"
#include "support/PseudoTerminal.h"

namespace mav::test {
namespace {

class SerialDialogTest : public ProgramRig {
 protected:
  void with_dialog(const std::function<void(QDialog&)>& steps) {
    ProgramRig::with_dialog(40004, steps);
  }
  static QRadioButton* radio(QDialog& dialog, int id) { return child<QRadioButton>(dialog, id); }
  static QLineEdit* other_name(QDialog& dialog) { return child<QLineEdit>(dialog, 1338); }
  // Whether `wanted` reaches the line before the deadline.
  static bool line_receives(PseudoTerminal& line, const std::string& wanted) {
    std::string received;
    for (int attempt = 0; attempt < 50 && received.find(wanted) == std::string::npos; ++attempt) {
      received += line.read(1, std::chrono::milliseconds(200));
    }
    return received.find(wanted) != std::string::npos;
  }
};

TEST_F(SerialDialogTest, ShowsTheStoredNameWhereItBelongs) {
  struct Stored {
    const char* name;
    int baud;
    int port_button;    // 1328: COM2, 1331: another name
    int baud_button;    // 1446: 9600, 1447: 115200
    const char* typed;  // the other name's field
  };
  const Stored rows[] = {{"COM2", 115200, 1328, 1447, ""},
                         {"COM10", 9600, 1331, 1446, "COM10"},
                         {"", 9600, 1331, 1446, "----"}};
  for (const Stored& row : rows) {
    SCOPED_TRACE(row.name);
    Preferences prefs;
    prefs.serial_port_name = row.name;
    prefs.serial_baud = row.baud;
    write_preferences(prefs);
    start();
    with_dialog([&](QDialog& dialog) {
      EXPECT_TRUE(radio(dialog, row.port_button)->isChecked());
      EXPECT_TRUE(radio(dialog, row.baud_button)->isChecked());
      EXPECT_EQ(other_name(dialog)->text(), row.typed);
    });
    stop();
  }
}

TEST_F(SerialDialogTest, ShowsTheChannelsDeviceBeforeTheStoredName) {
  PseudoTerminal stored;
  PseudoTerminal in_use;
  start_on_serial_port(stored.name());
  program_->link().close();
  ASSERT_TRUE(program_->link().open_serial(in_use.name(), 9600));
  with_dialog(
      [&](QDialog& dialog) { EXPECT_EQ(other_name(dialog)->text().toStdString(), in_use.name()); });
}

TEST_F(SerialDialogTest, AFailedStartUpPortOffersTheDialogBeforeTheVoicePromptIsSent) {
  PseudoTerminal line;
  prompts_.dialog_script = [&](QDialog& dialog) {
    radio(dialog, 1331)->setChecked(true);
    other_name(dialog)->setText(QString::fromStdString(line.name()));
    click(dialog, 1);
    return dialog.result();
  };
  start_on_serial_port((dir_.path() / "absent").string());
  EXPECT_EQ(prompts_.dialogs_run, 1);
  EXPECT_TRUE(line_receives(line, "VPMTS ON\r"));
}

TEST_F(SerialDialogTest, OkOpensThePortOrStaysOpenWithTheReason) {
  PseudoTerminal line;
  start();
  with_dialog([&](QDialog& dialog) {
    radio(dialog, 1331)->setChecked(true);
    other_name(dialog)->setText((dir_.path() / "absent").c_str());
    click(dialog, 1);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);  // still open
    other_name(dialog)->setText(QString::fromStdString(line.name()));
    radio(dialog, 1447)->setChecked(true);
    click(dialog, 1);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
  });
  EXPECT_EQ(prompts_.told_texts(), (std::vector<std::string>{"Error opening serial port\r\r" +
                                                                 (dir_.path() / "absent").string() +
                                                                 ": No such file or directory.",
                                                             "Serial port successfully selected"}));
  EXPECT_EQ(title(), line.name() + " - MAV Controller - Orvane Systems");
  EXPECT_EQ(action(50000)->text().toStdString(),
            "&1 - " + line.name() + ", 115200 Baud (Serial Port)");
  const Preferences saved = saved_preferences();
  EXPECT_EQ(saved.serial_port_name, line.name());
  EXPECT_EQ(saved.serial_baud, 115200);
  EXPECT_FALSE(saved.network_mode);
  EXPECT_TRUE(program_->session().resync_requested);
}

TEST_F(SerialDialogTest, TypingInOrFocusingTheOtherNameChoosesIt) {
  Preferences prefs;
  prefs.serial_port_name = "COM1";
  write_preferences(prefs);
  start();
  with_dialog([&](QDialog& dialog) {
    QTest::keyClicks(other_name(dialog), "/dev/ttyUSB7");
    EXPECT_TRUE(radio(dialog, 1331)->isChecked());
    radio(dialog, 1327)->setChecked(true);
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(other_name(dialog), &focus);
    EXPECT_TRUE(radio(dialog, 1331)->isChecked());
    click(dialog, 1);
  });
  EXPECT_EQ(prompts_.told_texts(),
            (std::vector<std::string>{
                "Error opening serial port\r\r/dev/ttyUSB7: No such file or directory."}));
}

TEST_F(SerialDialogTest, CancelOrEscapeWithoutAnOpenPortSaysSo) {
  start();
  with_dialog([&](QDialog& dialog) { click(dialog, 2); });
  with_dialog([&](QDialog& dialog) {
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&dialog, &escape);
  });
  EXPECT_EQ(prompts_.told_texts(),
            (std::vector<std::string>(2, "No serial port is currently open")));
}

TEST_F(SerialDialogTest, ReportingAndVoicePromptCommandsGoToTheGateway) {
  PseudoTerminal line;
  start_on_serial_port(line.name());
  EXPECT_TRUE(line_receives(line, "VPMTS ON\r"));

  trigger(40029);
  EXPECT_TRUE(line_receives(line, "COR_LED OFF\r"));
  trigger(40031);
  EXPECT_TRUE(line_receives(line, "PTT_LED OFF\r"));
  trigger(40031);
  EXPECT_TRUE(line_receives(line, "PTT_LED ON\r"));

  // The command asks for the opposite of its own mark, which waits for the gateway's answer.
  trigger(40051);
  EXPECT_TRUE(line_receives(line, "VPMTS OFF\r"));
  EXPECT_TRUE(checked(40051));
  window().set_menu_check(40051, false);
  trigger(40051);
  EXPECT_TRUE(line_receives(line, "VPMTS ON\r"));
}

TEST_F(SerialDialogTest, RecentSerialEntryThatCannotOpenIsReported) {
  Preferences prefs;
  prefs.recent = {{true, "/dev/absent-port", 9600, 0}};
  write_preferences(prefs);
  start();
  trigger(50000);
  EXPECT_EQ(prompts_.told_texts(), (std::vector<std::string>{"Could not open serial port"}));
  EXPECT_FALSE(program_->link().is_open());
}

TEST_F(SerialDialogTest, RetrieveCurrentConfigAsksOnlyWhenModulesAreKnown) {
  start();
  trigger(40011);
  EXPECT_TRUE(prompts_.asked.empty());
  EXPECT_TRUE(program_->session().resync_requested);
}

}  // namespace
}  // namespace mav::test
