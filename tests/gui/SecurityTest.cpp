// The security commands driven as the operator does: the PIN users and mode dialog and what its
// OK sends down a serial line, the password dialog's buttons and switches, and the password
// question in front of each guarded action.
#include <QCheckBox>
#include <QLabel>
#include <QTest>
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
void set_checked(QDialog& dialog, int id) {
  child<QAbstractButton>(dialog, id)->setChecked(true);
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
  Protection saved_protection() {
    const Preferences saved = saved_preferences();
    return {saved.password, saved.protect_pin_settings, saved.protect_permanent_connections,
            saved.protect_module_settings};
  }

  PseudoTerminal line_;
  Texts titles_;
};

// Cancel sends nothing and keeps the table; OK sends the mode and the rows a PIN and a level make
// valid, and the table packed into the preferences file.
TEST_F(SecurityTest, PinDialogShowsTheTableAndOnlyOkSendsIt) {
  program_->pins().set_entry(0, "Alice", 7, 3);
  program_->pins().set_entry(1, "Freed", 55, kPinLevelUnused);
  program_->session().security_mode = 12;
  program_->model().Update(1, [](PortRecord& r) {
    std::strcpy(r.port_name, "Tower");
    r.settings.security_level = 5;
  });
  answer(std::nullopt, [&](QDialog& dialog) {
    QStringList shown;
    for (int id : {1161, 1183, 1206, 1163, 1186, 1208}) shown << child(dialog, id)->text();
    for (int id : {1279, 1303, 1302}) shown << child<QLabel>(dialog, id)->text();
    EXPECT_EQ(shown.join('|'), "Alice|0007|3||||01 Tower|5|24 ");
    EXPECT_TRUE(!is_checked(dialog, 1276) && is_checked(dialog, 1277) && !is_checked(dialog, 1278));
    trigger(40008);  // does nothing while its dialog is open
    type(dialog, 1161, "Mallory");
    click(dialog, 2);
  });
  trigger(40008);
  EXPECT_EQ(titles_, Texts{"Security Settings"});
  EXPECT_EQ(line_.read_available(), "");

  answer(std::nullopt, [](QDialog& dialog) {
    const char* rows[][3] = {{"Bob", "42", "3"}, {"Carol", "1234", "9"}, {"NoPin", "", "1"}};
    const int ids[][3] = {{1163, 1186, 1208}, {1167, 1192, 1212}, {1177, 1202, 1222}};
    for (int r = 0; r < 3; ++r) {
      for (int i = 0; i < 3; ++i) type(dialog, ids[r][i], rows[r][i]);
    }
    click(dialog, 1);
  });
  trigger(40008);
  const std::string sent =
      "SECURITY_MODE EXCLUSIVE\rDEL_PIN ALL\rPIN 0007 3\rPIN 0042 3\rPIN 1234 9\r";
  EXPECT_EQ(line_.read(sent.size()), sent);
  std::string table;
  for (int i = 0; i < 3; ++i) {
    const PinUser user = program_->pins().entry(i);
    table += std::string(user.name) + " " + std::to_string(user.pin) + " " +
             std::to_string(user.level) + "|";
  }
  EXPECT_EQ(table, "Alice 7 3|Bob 42 3|Carol 1234 9|");
  EXPECT_EQ(saved_preferences().pin_table_image, program_->pins().to_bytes());
}

// OK judges typed fields as Apply does and stays open on a refusal; an applied password outlives
// Cancel, switches go only with OK, and Clear Password empties the password and the switches.
TEST_F(SecurityTest, PasswordDialogButtons) {
  answer(std::nullopt, [](QDialog& dialog) {
    type(dialog, 1337, "Secret1");
    type(dialog, 1339, "Secret2");
    click(dialog, 1);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);  // still open
    type(dialog, 1339, "Secret1");
    click(dialog, 1336);
    set_checked(dialog, 1335);
    click(dialog, 2);
  });
  trigger(40014);
  EXPECT_EQ(prompts_.told_texts(),
            (Texts{"Confirmation doesn't match password entry", "Password changed"}));
  EXPECT_EQ(titles_, Texts{"Password Protection"});
  EXPECT_EQ(saved_protection().password + std::to_string(saved_protection().permanent_connections),
            "Secret10");
  EXPECT_EQ(file_text(dir_.path() / "Logs" / "MAVPCI1.log").find("Secret1"), std::string::npos);

  answer("Secret1", [](QDialog& dialog) {
    set_checked(dialog, 1335);
    set_checked(dialog, 1373);
    dialog.show();  // Enter in an empty field is OK, not Apply: only the switches change
    QTest::keyClick(child(dialog, 1337), Qt::Key_Return);
  });
  trigger(40014);
  EXPECT_TRUE(prompts_.told.empty());
  Protection saved = saved_protection();
  EXPECT_EQ(std::tuple(saved.password, saved.pin_settings, saved.permanent_connections,
                       saved.module_settings),
            std::tuple(std::string("Secret1"), false, true, true));

  answer("Secret1", [](QDialog& dialog) {
    EXPECT_TRUE(is_checked(dialog, 1335) && is_checked(dialog, 1373));
    set_checked(dialog, 1333);
    click(dialog, 1360);
    EXPECT_FALSE(is_checked(dialog, 1333) || is_checked(dialog, 1335) || is_checked(dialog, 1373));
    click(dialog, 2);
  });
  trigger(40014);
  EXPECT_EQ(titles_, (Texts{"Password Check", "Password Protection"}));
  EXPECT_EQ(prompts_.told_texts(), Texts{"Password cleared"});
  saved = saved_protection();
  EXPECT_EQ(std::tuple(saved.password, saved.pin_settings, saved.permanent_connections,
                       saved.module_settings),
            std::tuple(std::string(), false, false, false));
}

TEST_F(SecurityTest, GuardedActionsAskOnlyWhenTheirSwitchIsOn) {
  const Protection modules_only{"Secret1", false, false, true};
  const struct {
    Protection protection;
    Guard guard;
    std::optional<QString> typed;
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
    program_->application().store_protection(c.protection);
    answer(c.typed, {});
    EXPECT_EQ(program_->password_check().confirm_password(c.guard), c.proceeds);
    EXPECT_EQ(!titles_.empty(), c.asked);
    EXPECT_EQ(prompts_.told_texts(), c.told_incorrect ? Texts{"Incorrect password"} : Texts{});
  }
}

// The password settings ask whenever a password is set; only the PIN settings dialogs that were
// answered send anything.
TEST_F(SecurityTest, PinSettingsAndPasswordProtectionAskFirst) {
  const struct {
    int command;
    Protection protection;
    const char* typed;
    Texts dialogs;
  } cases[] = {
      {40008, {"Secret1", true}, "Secret1", {"Password Check", "Security Settings"}},
      {40008, {"Secret1", false, true, true}, "wrong", {"Security Settings"}},
      {40014, {"Secret1"}, "wrong", {"Password Check"}},
      {40014, {"", true, true, true}, "wrong", {"Password Protection"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    program_->application().store_protection(c.protection);
    answer(c.typed, [](QDialog& dialog) { click(dialog, 1); });
    trigger(c.command);
    EXPECT_EQ(titles_, c.dialogs);
  }
  const std::string sent = "DEL_PIN ALL\rDEL_PIN ALL\r";
  EXPECT_EQ(line_.read(sent.size()), sent);
  EXPECT_EQ(line_.read_available(), "");
}

}  // namespace
}  // namespace mav::test
