// The serial port dialog, with a real pseudo-terminal playing the gateway's port: what it shows,
// what OK, Cancel and Escape do, and the recent serial entry.
#include <QKeyEvent>
#include <QRadioButton>
#include <QTest>

#include "gui/ProgramRig.h"

namespace mav::test {
namespace {

using Texts = std::vector<std::string>;

QRadioButton* radio(QDialog& dialog, int id) {
  return child<QRadioButton>(dialog, id);
}
constexpr int kOtherName = 1338;

using SerialDialogTest = ProgramRig;

TEST_F(SerialDialogTest, ShowsTheStoredNameWhereItBelongs) {
  const struct {
    const char* name;
    int baud;
    int port_button;    // 1328: COM2, 1331: another name
    int baud_button;    // 1446: 9600, 1447: 115200
    const char* typed;  // the other name's field
  } rows[] = {{"COM2", 115200, 1328, 1447, ""},
              {"COM10", 9600, 1331, 1446, "COM10"},
              {"", 9600, 1331, 1446, "----"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Preferences prefs;
    prefs.serial_port_name = row.name;
    prefs.serial_baud = row.baud;
    write_preferences(prefs);
    start();
    with_dialog(40004, [&](QDialog& dialog) {
      EXPECT_TRUE(radio(dialog, row.port_button)->isChecked());
      EXPECT_TRUE(radio(dialog, row.baud_button)->isChecked());
      EXPECT_EQ(child(dialog, kOtherName)->text(), row.typed);
    });
    stop();
  }
  // The channel's device comes before the stored name.
  PseudoTerminal stored;
  PseudoTerminal in_use;
  start_on_serial_port(stored.name());
  program_->link().close();
  ASSERT_TRUE(program_->link().open_serial(in_use.name(), 9600));
  with_dialog(40004, [&](QDialog& dialog) {
    EXPECT_EQ(child(dialog, kOtherName)->text().toStdString(), in_use.name());
  });
}

TEST_F(SerialDialogTest, AFailedStartUpPortOffersTheDialogBeforeTheVoicePromptIsSent) {
  PseudoTerminal line;
  prompts_.dialog_script = [&](QDialog& dialog) {
    radio(dialog, 1331)->setChecked(true);
    type(dialog, kOtherName, QString::fromStdString(line.name()));
    click(dialog, 1);
    return dialog.result();
  };
  start_on_serial_port((dir_.path() / "absent").string());
  EXPECT_EQ(prompts_.dialogs_run, 1);
  EXPECT_TRUE(line_receives(line, "VPMTS ON\r"));
}

// Typing into (or focusing) the other name chooses it; a name that cannot be opened keeps the
// dialog open with the reason.
TEST_F(SerialDialogTest, OkOpensThePortOrStaysOpenWithTheReason) {
  PseudoTerminal line;
  start();
  const std::string absent = (dir_.path() / "absent").string();
  with_dialog(40004, [&](QDialog& dialog) {
    QTest::keyClicks(child(dialog, kOtherName), QString::fromStdString(absent));
    EXPECT_TRUE(radio(dialog, 1331)->isChecked());
    click(dialog, 1);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);  // still open
    radio(dialog, 1327)->setChecked(true);
    type(dialog, kOtherName, QString::fromStdString(line.name()));
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(child(dialog, kOtherName), &focus);
    EXPECT_TRUE(radio(dialog, 1331)->isChecked());
    radio(dialog, 1447)->setChecked(true);
    click(dialog, 1);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
  });
  EXPECT_EQ(prompts_.told_texts(),
            (Texts{"Error opening serial port\r\r" + absent + ": No such file or directory.",
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

TEST_F(SerialDialogTest, CancelEscapeOrAFailedRecentEntryWithoutAnOpenPortSaySo) {
  Preferences prefs;
  prefs.recent = {{true, "/dev/absent-port", 9600, 0}};
  write_preferences(prefs);
  start();
  with_dialog(40004, [&](QDialog& dialog) { click(dialog, 2); });
  with_dialog(40004, [&](QDialog& dialog) {
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&dialog, &escape);
  });
  trigger(50000);
  EXPECT_EQ(prompts_.told_texts(),
            (Texts{"No serial port is currently open", "No serial port is currently open",
                   "Could not open serial port"}));
  EXPECT_FALSE(program_->link().is_open());
}

TEST_F(SerialDialogTest, VoicePromptsAskForTheOppositeOfTheirMark) {
  PseudoTerminal line;
  start_on_serial_port(line.name());
  EXPECT_TRUE(line_receives(line, "VPMTS ON\r"));
  window().set_menu_check(40051, false);
  trigger(40051);
  EXPECT_TRUE(line_receives(line, "VPMTS ON\r"));
  EXPECT_FALSE(checked(40051));  // until the gateway's answer
}

}  // namespace
}  // namespace mav::test
