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
    EXPECT_EQ(shown, QStringList({"Alice", "0007", "3", "", "", ""}));
    EXPECT_EQ((std::vector<bool>{is_checked(dialog, 1276), is_checked(dialog, 1277),
                                 is_checked(dialog, 1278)}),
              (std::vector<bool>{false, true, false}));
    EXPECT_EQ(child<QLabel>(dialog, 1279)->text(), "01 Tower");
    EXPECT_EQ(child<QLabel>(dialog, 1303)->text(), "5");
    EXPECT_EQ(child<QLabel>(dialog, 1302)->text(), "24 ");
    trigger(40008);  // does nothing while its dialog is open
    type(dialog, 1161, "Mallory");
    click(dialog, 2);
  });
  trigger(40008);
  EXPECT_EQ(titles_, Texts{"Security Settings"});
  EXPECT_STREQ(program_->pins().entry(0).name, "Alice");
  EXPECT_EQ(line_.read_available(), "");
}

// Rows 2, 5 and 9 filled (the last one without a PIN); no mode has been reported, so none is sent.
TEST_F(SecurityTest, OkSendsTheValidRowsAndPacksThemIntoTheTable) {
  answer(std::nullopt, [](QDialog& dialog) {
    EXPECT_FALSE(is_checked(dialog, 1276) || is_checked(dialog, 1277) || is_checked(dialog, 1278));
    for (const auto& [ids, row] :
         {std::pair{std::array{1163, 1186, 1208}, std::array{"Bob", "42", "3"}},
          {{1167, 1192, 1212}, {"Carol", "1234", "9"}},
          {{1177, 1202, 1222}, {"NoPin", "", "1"}}}) {
      for (int i = 0; i < 3; ++i) type(dialog, ids[i], row[i]);
    }
    click(dialog, 1);
  });
  trigger(40008);
  const std::string sent = "DEL_PIN ALL\rPIN 0042 3\rPIN 1234 9\r";
  EXPECT_EQ(line_.read(sent.size()), sent);
  const PinUser first = program_->pins().entry(0);
  const PinUser second = program_->pins().entry(1);
  EXPECT_EQ(std::tuple(std::string(first.name), first.pin, first.level),
            std::tuple(std::string("Bob"), 42, 3));
  EXPECT_EQ(std::tuple(std::string(second.name), second.pin, second.level),
            std::tuple(std::string("Carol"), 1234, 9));
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
  Preferences saved = saved_preferences();
  EXPECT_EQ(saved.password, "Secret1");
  EXPECT_FALSE(saved.protect_permanent_connections);
  EXPECT_EQ(file_text(dir_.path() / "Logs" / "MAVPCI1.log").find("Secret1"), std::string::npos);

  answer("Secret1", [](QDialog& dialog) {
    child<QCheckBox>(dialog, 1335)->setChecked(true);
    child<QCheckBox>(dialog, 1373)->setChecked(true);
    click(dialog, 1);
  });
  trigger(40014);
  saved = saved_preferences();
  EXPECT_EQ(std::tuple(saved.protect_pin_settings, saved.protect_permanent_connections,
                       saved.protect_module_settings),
            std::tuple(false, true, true));

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
  saved = saved_preferences();
  EXPECT_EQ(std::tuple(saved.password, saved.protect_pin_settings,
                       saved.protect_permanent_connections, saved.protect_module_settings),
            std::tuple(std::string(), false, false, false));
}

TEST_F(SecurityTest, GuardedActionsAskOnlyWhenTheirSwitchIsOn) {
  const Protection modules_only{"Secret1", false, false, true};
  const struct {
    Protection protection;
    Guard guard;
    std::optional<QString> typed;
    bool proceeds;
    bool asked;
    bool told_incorrect;
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
      {40008, {"Secret1", true}, std::nullopt, asked_only},
      {40008, {"Secret1", false, true, true}, "wrong", {"Security Settings"}},
      // The password settings ask whenever a password is set.
      {40014, {"Secret1"}, "Secret1", {"Password Check", "Password Protection"}},
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
  const std::string sent = "DEL_PIN ALL\rDEL_PIN ALL\r";
  EXPECT_EQ(line_.read(sent.size()), sent);
  EXPECT_EQ(line_.read_available(), "");
}

}  // namespace
}  // namespace mav::test
