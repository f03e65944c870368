// The serial port dialog, with a real pseudo-terminal playing the gateway's port: a start-up port
// that fails offers it, OK opens the port or stays open with the reason, and Cancel or a failed
// recent entry say that no port is open.
#include <QRadioButton>
#include <QTest>

#include "gui/ProgramRig.h"

namespace mav::test {
namespace {

using Texts = std::vector<std::string>;
constexpr int kOtherName = 1338;

using SerialDialogTest = ProgramRig;

// Typing into the other name chooses it; then Voice Prompts asks for the opposite of its mark,
// which waits for the gateway's answer.
TEST_F(SerialDialogTest, AFailedStartUpPortOffersTheDialogThenOkOpensTheTypedPort) {
  PseudoTerminal line;
  const std::string absent = (dir_.path() / "absent").string();
  prompts_.dialog_script = [&](QDialog& dialog) {
    EXPECT_EQ(child(dialog, kOtherName)->text().toStdString(), absent);  // the failed name
    child(dialog, kOtherName)->clear();
    QTest::keyClicks(child(dialog, kOtherName), QString::fromStdString(absent));
    EXPECT_TRUE(child<QRadioButton>(dialog, 1331)->isChecked());
    click(dialog, 1);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);  // still open
    type(dialog, kOtherName, QString::fromStdString(line.name()));
    child<QRadioButton>(dialog, 1447)->setChecked(true);
    click(dialog, 1);
    return dialog.result();
  };
  start_on_serial_port(absent);
  EXPECT_EQ(prompts_.dialogs_run, 1);
  EXPECT_EQ(prompts_.told_texts(),
            (Texts{"Error opening serial port\r\r" + absent + ": No such file or directory.",
                   "Serial port successfully selected"}));
  EXPECT_EQ(title(), line.name() + " - MAV Controller - Orvane Systems");
  const Preferences saved = saved_preferences();
  EXPECT_EQ(saved.serial_port_name + " " + std::to_string(saved.serial_baud),
            line.name() + " 115200");
  EXPECT_TRUE(line_receives(line, "VPMTS ON\r"));
  window().set_menu_check(40051, false);
  trigger(40051);
  EXPECT_TRUE(line_receives(line, "VPMTS ON\r"));
  EXPECT_FALSE(checked(40051));
}

TEST_F(SerialDialogTest, CancelOrAFailedRecentEntryWithoutAnOpenPortSaySo) {
  Preferences prefs;
  prefs.recent = {{true, "/dev/absent-port", 9600, 0}};
  write_preferences(prefs);
  start();
  with_dialog(40004, [&](QDialog& dialog) {
    EXPECT_EQ(child(dialog, kOtherName)->text(), "");
    click(dialog, 2);
  });
  trigger(50000);
  EXPECT_EQ(prompts_.told_texts(),
            (Texts{"No serial port is currently open", "Could not open serial port"}));
  EXPECT_FALSE(program_->link().is_open());
}

}  // namespace
}  // namespace mav::test
