// The security commands driven as the operator does: what the PIN dialog's OK sends down a serial
// line, and the password question in front of each guarded action.
#include <optional>

#include "gui/ProgramRig.h"

namespace mav::test {
namespace {

using Texts = std::vector<std::string>;

class SecurityTest : public ProgramRig {
 protected:
  void SetUp() override {
    start();
    ASSERT_TRUE(program_->link().open_serial(line_.name(), 9600));
  }
  PseudoTerminal line_;
};

// OK sends the mode and the rows a PIN and a level make valid, and stores the table.
TEST_F(SecurityTest, PinDialogOkSendsTheTable) {
  program_->pins().set_entry(0, "Alice", 7, 3);
  program_->session().security_mode = 12;
  with_dialog(40008, [](QDialog& dialog) {
    const char* rows[][3] = {{"Bob", "42", "3"}, {"Carol", "1234", "9"}, {"NoPin", "", "1"}};
    const int ids[][3] = {{1163, 1186, 1208}, {1167, 1192, 1212}, {1177, 1202, 1222}};
    for (int r = 0; r < 3; ++r) {
      for (int i = 0; i < 3; ++i) type(dialog, ids[r][i], rows[r][i]);
    }
    click(dialog, 1);
  });
  const std::string sent =
      "SECURITY_MODE EXCLUSIVE\rDEL_PIN ALL\rPIN 0007 3\rPIN 0042 3\rPIN 1234 9\r";
  EXPECT_EQ(line_.read(sent.size()), sent);
  EXPECT_EQ(saved_preferences().pin_table_image, program_->pins().to_bytes());
}

TEST_F(SecurityTest, GuardedActionsAskOnlyWhenTheirSwitchIsOn) {
  const Protection modules_only{"Secret1", false, false, true};
  const struct {
    Protection protection;
    Guard guard;
    std::optional<QString> typed;  // nothing: Cancel
    bool proceeds, asked, told_incorrect;
  } cases[] = {
      {modules_only, Guard::ModuleSettings, "Secret1", true, true, false},
      {modules_only, Guard::ModuleSettings, "secret1", false, true, true},
      {modules_only, Guard::ModuleSettings, std::nullopt, false, true, false},
      {modules_only, Guard::PermanentConnections, "wrong", true, false, false},
      {modules_only, Guard::PinSettings, "wrong", true, false, false},
      {{"Secret1", false, true, false}, Guard::PermanentConnections, "Secret", false, true, true},
      {{"", true, true, true}, Guard::PermanentConnections, "wrong", true, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed.value_or("(cancel)").toStdString());
    program_->protection().store_protection(c.protection);
    prompts_.told.clear();
    prompts_.dialogs_run = 0;
    prompts_.dialog_script = [&](QDialog& dialog) {
      if (c.typed) type(dialog, 1334, *c.typed);
      click(dialog, c.typed ? 1 : 2);
      return dialog.result();
    };
    EXPECT_EQ(program_->password_check().confirm_password(c.guard), c.proceeds);
    EXPECT_EQ(prompts_.dialogs_run > 0, c.asked);
    EXPECT_EQ(prompts_.told_texts(), c.told_incorrect ? Texts{"Incorrect password"} : Texts{});
  }
}

}  // namespace
}  // namespace mav::test
