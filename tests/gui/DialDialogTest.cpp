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

// Where the phone book sits in the preferences file.
constexpr std::size_t kNumbersAt = 1070;
constexpr std::size_t kDescriptionsAt = 2170;
constexpr std::size_t kCountAt = 3270;
constexpr std::size_t kEntrySize = 22;

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
  // Lets the dialog's own timer look at the clock a few times.
  static void let_timer_run() {
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < 500) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  std::uint32_t disch_step() {
    PortRecord record;
    model_.GetPort(4, record);
    return record.disch_step;
  }
  std::string saved_entry(std::size_t at, int index) {
    return get_text(read_bytes(prefs_file()), at + static_cast<std::size_t>(index) * kEntrySize);
  }
  static void type(QDialog& dialog, int id, const char* text) {
    child<QLineEdit>(dialog, id)->setText(text);
  }
  static QComboBox* descriptions(QDialog& dialog) { return child<QComboBox>(dialog, 1342); }

  FakeClock clock_;
  DeviceModel model_;
  RecordingSender sender_;
  EventLog log_{dir_ / "Logs", clock_};
};

TEST_F(DialDialogTest, ThirtyIdleSecondsCloseItAndReleaseTheTwoWireLine) {
  start();
  auto dialog = open();
  EXPECT_EQ(dialog->windowTitle(), "LINE Dial on port 04");
  clock_.advance_ms(20'000);
  type(*dialog, 1343, "5");
  clock_.advance_ms(20'000);
  let_timer_run();
  EXPECT_TRUE(dialog->isVisible());
  child<QRadioButton>(*dialog, 1345)->click();  // the line already chosen: activity all the same
  clock_.advance_ms(29'000);
  let_timer_run();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_TRUE(sender_.lines().empty());
  clock_.advance_ms(1'000);
  ASSERT_TRUE(process_events_until([&] { return !dialog->isVisible(); }));
  EXPECT_EQ(sender_.lines(), Lines{"DISC_S 04\r"});
  EXPECT_EQ(disch_step(), 9u);
  EXPECT_TRUE(prompts_.told.empty());
}

TEST_F(DialDialogTest, DialSendsTheChosenLineAndAnEmptyNumberIsRefused) {
  start();
  auto dialog = open();
  click(*dialog, 1);
  EXPECT_EQ(prompts_.told_texts(), Lines{"Please enter a number to dial"});
  EXPECT_TRUE(dialog->isVisible());
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
  type(*dialog, 1343, "5550001");
  descriptions(*dialog)->setEditText("Dispatch");
  click(*dialog, 1344);
  type(*dialog, 1343, "123456789012345678901234567890");
  descriptions(*dialog)->setEditText("");
  click(*dialog, 1344);
  EXPECT_EQ(read_bytes(prefs_file()).at(kCountAt), 50);
  EXPECT_EQ(saved_entry(kNumbersAt, 48), "5550001");
  EXPECT_EQ(saved_entry(kDescriptionsAt, 48), "Dispatch");
  EXPECT_EQ(saved_entry(kNumbersAt, 49), "123456789012345678901");
  EXPECT_EQ(saved_entry(kDescriptionsAt, 49), "123456789012345678901");

  type(*dialog, 1343, "999");
  click(*dialog, 1344);
  EXPECT_EQ(prompts_.told_texts(), Lines{"The phone book is full"});
  EXPECT_EQ(descriptions(*dialog)->count(), 50);

  // Choosing a description fills the number; removing it moves the last entry into its place.
  descriptions(*dialog)->setCurrentIndex(48);
  EXPECT_EQ(child<QLineEdit>(*dialog, 1343)->text(), "5550001");
  descriptions(*dialog)->setEditText("Old 0");
  click(*dialog, 1351);
  EXPECT_EQ(read_bytes(prefs_file()).at(kCountAt), 49);
  EXPECT_EQ(saved_entry(kDescriptionsAt, 0), "123456789012345678901");
  EXPECT_EQ(saved_entry(kDescriptionsAt, 48), "Dispatch");
  EXPECT_EQ(descriptions(*dialog)->findText("Old 0"), -1);
}

}  // namespace
}  // namespace mav::test
