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

// A known name has its button, any other is typed out; the channel's device comes before both.
TEST_F(SerialDialogTest, ShowsTheStoredNameWhereItBelongs) {
  const auto shown = [&](QDialog& dialog) {
    std::string checked;
    for (int id : {1328, 1331, 1446, 1447}) checked += radio(dialog, id)->isChecked() ? "x" : "-";
    return checked + " " + child(dialog, kOtherName)->text().toStdString();
  };
  Preferences prefs;
  prefs.serial_port_name = "COM2";
  prefs.serial_baud = 115200;
  write_preferences(prefs);
  start();
  with_dialog(40004, [&](QDialog& dialog) { EXPECT_EQ(shown(dialog), "x--x "); });
  stop();
  prefs.serial_port_name = "";
  prefs.serial_baud = 9600;
  write_preferences(prefs);
  start();
  with_dialog(40004, [&](QDialog& dialog) { EXPECT_EQ(shown(dialog), "-xx- ----"); });
  stop();
  PseudoTerminal stored;
  PseudoTerminal in_use;
  start_on_serial_port(stored.name());
  program_->link().close();
  ASSERT_TRUE(program_->link().open_serial(in_use.name(), 9600));
  with_dialog(40004, [&](QDialog& dialog) { EXPECT_EQ(shown(dialog), "-xx- " + in_use.name()); });
}

// Voice Prompts then asks for the opposite of its mark, which waits for the gateway's answer.
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
  window().set_menu_check(40051, false);
  trigger(40051);
  EXPECT_TRUE(line_receives(line, "VPMTS ON\r"));
  EXPECT_FALSE(checked(40051));
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
  const Preferences saved = saved_preferences();
  EXPECT_EQ(saved.serial_port_name + " " + std::to_string(saved.serial_baud),
            line.name() + " 115200");
  EXPECT_TRUE(!saved.network_mode && program_->session().resync_requested);
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

}  // namespace
}  // namespace mav::test
