// The security commands driven as the operator does: the PIN users and mode dialog and what its
// OK sends down a serial line, the password dialog's buttons and switches, and the password
// question in front of each guarded action.
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <cstring>
#include <optional>

#include "gui/ProgramRig.h"
#include "support/FileText.h"

namespace mav::test {
namespace {

using Texts = std::vector<std::string>;

bool is_checked(QDialog& dialog, int id) {
  return child<QAbstractButton>(dialog, id)->isChecked();
}

class SecurityTest : public ProgramRig {
 protected:
  void SetUp() override {
    start();
    ASSERT_TRUE(program_->link().open_serial(line_.name(), 9600));
  }
  // Answers the password question with `typed` (nothing: Cancel) and hands any other dialog to
  // `next`. The titles of the dialogs run are recorded.
  void answer(std::optional<QString> typed, std::function<void(QDialog&)> next) {
    titles_.clear();
    prompts_.told.clear();
    prompts_.dialog_script = [this, typed, next](QDialog& dialog) {
      titles_.push_back(dialog.windowTitle().toStdString());
      if (dialog.windowTitle() != "Password Check") {
        next(dialog);
      } else if (typed) {
        type(dialog, 1334, *typed);
        click(dialog, 1);
      } else {
        click(dialog, 2);
      }
      return dialog.result();
    };
  }

  // The saved password and its three switches.
  std::string protection() {
    const Preferences saved = saved_preferences();
    return saved.password + " " + std::to_string(saved.protect_pin_settings) +
           std::to_string(saved.protect_permanent_connections) +
           std::to_string(saved.protect_module_settings);
  }

  PseudoTerminal line_;
  Texts titles_;
};

TEST_F(SecurityTest, PinDialogShowsTableModeAndLevelsAndCancelSendsNothing) {
  program_->pins().set_entry(0, "Alice", 7, 3);
  program_->pins().set_entry(1, "Freed", 55, kPinLevelUnused);
  program_->session().security_mode = 12;
  PortRecord port{};
  program_->model().GetPort(1, port);
  std::strcpy(port.port_name, "Tower");
  port.settings.security_level = 5;
  program_->model().SetPort(1, port);
  answer(std::nullopt, [&](QDialog& dialog) {
    QStringList shown;
    for (int id : {1161, 1183, 1206, 1163, 1186, 1208}) shown << child(dialog, id)->text();
    for (int id : {1276, 1277, 1278}) shown << (is_checked(dialog, id) ? "x" : "-");
    for (int id : {1279, 1303, 1302}) shown << child<QLabel>(dialog, id)->text();
    EXPECT_EQ(shown.join('|'), "Alice|0007|3||||-|x|-|01 Tower|5|24 ");
    trigger(40008);  // does nothing while its dialog is open
    type(dialog, 1161, "Mallory");
    click(dialog, 2);
  });
  trigger(40008);
  EXPECT_EQ(titles_, Texts{"Security Settings"});
  EXPECT_STREQ(program_->pins().entry(0).name, "Alice");
  EXPECT_EQ(line_.read_available(), "");
}

// Rows 2 and 9 filled (the last one invalid); no mode has been reported, so none is sent.
TEST_F(SecurityTest, OkSendsTheValidRowsAndStoresTheTable) {
  answer(std::nullopt, [](QDialog& dialog) {
    EXPECT_FALSE(is_checked(dialog, 1276) || is_checked(dialog, 1277) || is_checked(dialog, 1278));
    const std::pair<int, const char*> typed[] = {{1163, "Bob"},  {1186, "42"},    {1208, "3"},
                                                 {1177, "High"}, {1202, "10000"}, {1222, "1"}};
    for (const auto& [id, text] : typed) type(dialog, id, text);
    click(dialog, 1);
  });
  trigger(40008);
  EXPECT_EQ(line_.read(23) + line_.read_available(), "DEL_PIN ALL\rPIN 0042 3\r");
  EXPECT_STREQ(program_->pins().entry(0).name, "Bob");
  EXPECT_EQ(saved_preferences().pin_table_image, program_->pins().to_bytes());
}

// Apply judges the two fields and a change outlives Cancel; OK alone stores the switches; Clear
// Password empties the password and the three switches.
TEST_F(SecurityTest, PasswordDialogButtons) {
  answer(std::nullopt, [](QDialog& dialog) {
    for (const auto& [entry, confirmation] : {std::pair{"abcd", "abce"}, {"Secret1", "Secret1"}}) {
      type(dialog, 1337, entry);
      type(dialog, 1339, confirmation);
      click(dialog, 1336);
    }
    child<QCheckBox>(dialog, 1335)->setChecked(true);
    click(dialog, 2);
  });
  trigger(40014);
  EXPECT_EQ(prompts_.told_texts(),
            (Texts{"Confirmation doesn't match password entry", "Password changed"}));
  EXPECT_EQ(titles_, Texts{"Password Protection"});
  EXPECT_EQ(saved_preferences().password, "Secret1");
  EXPECT_FALSE(saved_preferences().protect_permanent_connections);
  EXPECT_EQ(file_text(dir_.path() / "Logs" / "MAVPCI1.log").find("Secret1"), std::string::npos);

  answer("Secret1", [](QDialog& dialog) {
    child<QCheckBox>(dialog, 1335)->setChecked(true);
    child<QCheckBox>(dialog, 1373)->setChecked(true);
    click(dialog, 1);
  });
  trigger(40014);
  EXPECT_EQ(protection(), "Secret1 011");

  answer("Secret1", [](QDialog& dialog) {
    EXPECT_TRUE(is_checked(dialog, 1335) && is_checked(dialog, 1373));
    child<QCheckBox>(dialog, 1333)->setChecked(true);
    click(dialog, 1360);
    EXPECT_FALSE(is_checked(dialog, 1333) || is_checked(dialog, 1335) || is_checked(dialog, 1373));
    click(dialog, 2);
  });
  trigger(40014);
  EXPECT_EQ(titles_, (Texts{"Password Check", "Password Protection"}));
  EXPECT_EQ(prompts_.told_texts(), Texts{"Password cleared"});
  EXPECT_EQ(protection(), " 000");
}

// Whether the action proceeds, then the dialogs run and the boxes told.
TEST_F(SecurityTest, GuardedActionsAskOnlyWhenTheirSwitchIsOn) {
  const Protection modules_only{"Secret1", false, false, true};
  const struct {
    Protection protection;
    Guard guard;
    std::optional<QString> typed;
    const char* outcome;
  } cases[] = {
      {modules_only, Guard::ModuleSettings, "Secret1", "1 Password Check|"},
      {modules_only, Guard::ModuleSettings, "secret1", "0 Password Check|Incorrect password|"},
      {modules_only, Guard::ModuleSettings, std::nullopt, "0 Password Check|"},
      {modules_only, Guard::PermanentConnections, "wrong", "1 "},
      {modules_only, Guard::PinSettings, "wrong", "1 "},
      {{"Secret1", false, true, false},
       Guard::PermanentConnections,
       "Secret",
       "0 Password Check|Incorrect password|"},
      {{"", true, true, true}, Guard::PermanentConnections, "wrong", "1 "},
  };
  for (const auto& c : cases) {
    program_->application().store_protection(c.protection);
    answer(c.typed, {});
    std::string outcome =
        std::to_string(program_->password_check().confirm_password(c.guard)) + " ";
    for (const auto& text : titles_) outcome += text + "|";
    for (const auto& text : prompts_.told_texts()) outcome += text + "|";
    EXPECT_EQ(outcome, c.outcome);
  }
}

TEST_F(SecurityTest, PinSettingsAndPasswordProtectionAskFirst) {
  const Texts asked_only{"Password Check"};
  const struct {
    int command;
    Protection protection;
    std::optional<QString> typed;
    Texts dialogs;
  } cases[] = {
      {40008, {"Secret1", true}, "Secret1", {"Password Check", "Security Settings"}},
      {40008, {"Secret1", true}, "SECRET1", asked_only},
      {40008, {"Secret1", false, true, true}, "wrong", {"Security Settings"}},
      // The password settings ask whenever a password is set.
      {40014, {"Secret1"}, "wrong", asked_only},
      {40014, {"", true, true, true}, "wrong", {"Password Protection"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    program_->application().store_protection(c.protection);
    answer(c.typed, [](QDialog& dialog) { click(dialog, 1); });
    trigger(c.command);
    EXPECT_EQ(titles_, c.dialogs);
  }
  // Only the two PIN settings dialogs that were answered sent anything.
  EXPECT_EQ(line_.read(24) + line_.read_available(), "DEL_PIN ALL\rDEL_PIN ALL\r");
}

}  // namespace
}  // namespace mav::test
