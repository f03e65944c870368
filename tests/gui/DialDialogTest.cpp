// The dial dialog over the real program's preferences, with a clock the test sets: the 30 seconds
// of inactivity, the lines it sends and the phone book bytes it saves.
#include <QComboBox>
#include <QRadioButton>

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
  void SetUp() override {
    PortRecord line{};
    line.mod_type = MOD_LINE7;
    line.settings.on_hook = 1;
    model_.SetPort(4, line);
  }
  std::unique_ptr<DialDialog> open() {
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
  // The phone book in the file: numbers at 1070, descriptions at 2170, 22 bytes each.
  std::string saved_entry(bool description, int index) {
    const std::size_t at = description ? 2170 : 1070;
    return get_text(read_bytes(prefs_file()), at + static_cast<std::size_t>(index) * 22);
  }

  FakeClock clock_;
  DeviceModel model_;
  RecordingSender sender_;
  EventLog log_{dir_ / "Logs", clock_};
};

// Typing and choosing a line start the 30 seconds again; then an empty number is refused.
TEST_F(DialDialogTest, ThirtyIdleSecondsCloseItAndReleaseTheTwoWireLine) {
  start();
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

TEST_F(DialDialogTest, DialSendsTheChosenLineAndAnEmptyNumberIsRefused) {
  start();
  auto dialog = open();
  EXPECT_EQ(dialog->windowTitle(), "LINE Dial on port 04");
  click(*dialog, 1);
  EXPECT_EQ(prompts_.told_texts(), Lines{"Please enter a number to dial"});
  type(*dialog, 1343, "5551234");
  child<QRadioButton>(*dialog, 1346)->click();
  click(*dialog, 1);
  EXPECT_EQ(sender_.lines(), Lines{"DIAL 04 5551234 2\r"});
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(DialDialogTest, PhoneBookEditsReachThePreferencesFileAtOnce) {
  Preferences prefs;
  for (int i = 0; i < 48; ++i) prefs.dial_list.push_back({"100", "Old " + std::to_string(i)});
  write_preferences(prefs);
  start();
  auto dialog = open();
  auto* descriptions = child<QComboBox>(*dialog, 1342);
  type(*dialog, 1343, "5550001");
  descriptions->setEditText("Dispatch");
  click(*dialog, 1344);
  type(*dialog, 1343, "123456789012345678901234567890");
  descriptions->setEditText("");
  click(*dialog, 1344);
  // The count at 3270; for the second, the number stands in as its description.
  EXPECT_EQ(read_bytes(prefs_file()).at(3270), 50);
  EXPECT_EQ(saved_entry(false, 48) + "|" + saved_entry(true, 48) + "|" + saved_entry(true, 49),
            "5550001|Dispatch|123456789012345678901");

  click(*dialog, 1344);
  EXPECT_EQ(prompts_.told_texts(), Lines{"The phone book is full"});
  EXPECT_EQ(descriptions->count(), 50);

  // Choosing a description fills the number; removing it moves the last entry into its place.
  descriptions->setCurrentIndex(48);
  EXPECT_EQ(child(*dialog, 1343)->text(), "5550001");
  descriptions->setEditText("Old 0");
  click(*dialog, 1351);
  EXPECT_EQ(read_bytes(prefs_file()).at(3270), 49);
  EXPECT_EQ(saved_entry(true, 0) + "|" + saved_entry(true, 48), "123456789012345678901|Dispatch");
  EXPECT_EQ(descriptions->findText("Old 0"), -1);
}

}  // namespace
}  // namespace mav::test
