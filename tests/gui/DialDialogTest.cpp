// The dial dialog over the real program's preferences, with a clock the test sets: the 30 seconds
// of inactivity, the line Enter sends and the phone book bytes it saves.
#include <QComboBox>
#include <QRadioButton>
#include <QTest>

#include "gui/ProgramRig.h"
#include "modules/ui/DialDialog.h"
#include "protocol/RecordingSender.h"
#include "support/FakeClock.h"
#include "support/FileBytes.h"

namespace mav::test {
namespace {

using Lines = std::vector<std::string>;

class DialDialogTest : public ProgramRig {
 protected:
  std::unique_ptr<DialDialog> open() {
    model_.Update(4, [](PortRecord& r) {
      r.mod_type = MOD_LINE7;
      r.settings.on_hook = 1;
    });
    start();
    auto dialog = std::make_unique<DialDialog>(DialParts{model_, sender_, log_, clock_},
                                               program_->application(), prompts_, 4, nullptr);
    dialog->show();
    return dialog;
  }
  // Advances the clock and lets the dialog's own timer look at it a few times.
  void idle_for(int ms) {
    clock_.advance_ms(ms);
    process_events_until([] { return false; }, 500);
  }

  FakeClock clock_;
  DeviceModel model_;
  RecordingSender sender_;
  EventLog log_{dir_ / "Logs", clock_};
};

// Typing and choosing a line start the 30 seconds again.
TEST_F(DialDialogTest, ThirtyIdleSecondsCloseItAndReleaseTheTwoWireLine) {
  auto dialog = open();
  idle_for(20'000);
  type(*dialog, 1343, "5");
  idle_for(20'000);
  child<QRadioButton>(*dialog, 1345)->click();  // the line already chosen: activity all the same
  idle_for(29'999);
  EXPECT_TRUE(dialog->isVisible() && sender_.lines().empty());
  clock_.advance_ms(1);
  ASSERT_TRUE(process_events_until([&] { return !dialog->isVisible(); }));
  EXPECT_EQ(sender_.lines(), Lines{"DISC_S 04\r"});
  PortRecord record;
  model_.GetPort(4, record);
  EXPECT_EQ(record.disch_step, 9u);
}

// Enter in the number dials, whatever other buttons the dialog has.
TEST_F(DialDialogTest, EnterDialsTheChosenLine) {
  auto dialog = open();
  EXPECT_EQ(dialog->windowTitle(), "LINE Dial on port 04");
  type(*dialog, 1343, "5551234");
  child<QRadioButton>(*dialog, 1346)->click();
  QTest::keyClick(child(*dialog, 1343), Qt::Key_Return);
  EXPECT_EQ(sender_.lines(), Lines{"DIAL 04 5551234 2\r"});
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

// The phone book: numbers at 1070, descriptions at 2170, 22 bytes each, the count at 3270.
TEST_F(DialDialogTest, PhoneBookEditsReachThePreferencesFileAtOnce) {
  Preferences prefs;
  prefs.dial_list = {{"100", "Old"}};
  write_preferences(prefs);
  auto dialog = open();
  auto* descriptions = child<QComboBox>(*dialog, 1342);
  const auto saved = [&] {  // "count|number description|..."
    const Bytes bytes = read_bytes(prefs_file());
    std::string entries = std::to_string(bytes.at(3270)) + "|";
    for (std::size_t i = 0; i < bytes.at(3270); ++i) {
      entries += get_text(bytes, 1070 + 22 * i) + " " + get_text(bytes, 2170 + 22 * i) + "|";
    }
    return entries;
  };
  type(*dialog, 1343, "5550001");
  descriptions->setEditText("");
  click(*dialog, 1344);  // the number stands in as its description
  EXPECT_EQ(saved(), "2|100 Old|5550001 5550001|");
  descriptions->setCurrentIndex(0);  // choosing a description fills its number
  EXPECT_EQ(child(*dialog, 1343)->text(), "100");
  click(*dialog, 1351);  // the last entry moves into the gap
  EXPECT_EQ(saved(), "1|5550001 5550001|");
  EXPECT_EQ(descriptions->findText("Old"), -1);
}

}  // namespace
}  // namespace mav::test
