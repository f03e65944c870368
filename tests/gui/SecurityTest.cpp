// The security commands driven as the operator does: the PIN users and mode dialog and what its
// OK sends down a serial line, the password dialog's answers and switches, and the password
// question in front of each guarded action.
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <cstring>
#include <optional>

#include "gui/ProgramRig.h"
#include "support/FileText.h"
#include "support/PseudoTerminal.h"

namespace mav::test {
namespace {

constexpr int kPinSettings = 40008;
constexpr int kPasswordProtection = 40014;

class SecurityTest : public ProgramRig {
 protected:
  // Starts with the password and switches given, and opens a serial line the program writes to.
  void start_with(const Protection& protection) {
    Preferences prefs;
    prefs.password = protection.password;
    prefs.protect_pin_settings = protection.pin_settings;
    prefs.protect_permanent_connections = protection.permanent_connections;
    prefs.protect_module_settings = protection.module_settings;
    write_preferences(prefs);
    start();
    ASSERT_TRUE(program_->link().open_serial(line_.name(), 9600));
  }

  // Answers the password question with `typed` (nothing: Cancel) and hands any other dialog to
  // `next`. The titles of the dialogs run are recorded.
  void answer(
      std::optional<std::string> typed,
      std::function<void(QDialog&)> next = [](QDialog& dialog) { click(dialog, 2); }) {
    titles_.clear();
    prompts_.told.clear();
    prompts_.dialog_script = [this, typed, next](QDialog& dialog) {
      titles_.push_back(dialog.windowTitle().toStdString());
      if (dialog.windowTitle() != "Password Check") {
        next(dialog);
      } else if (typed) {
        child<QLineEdit>(dialog, 1334)->setText(QString::fromStdString(*typed));
        click(dialog, 1);
      } else {
        click(dialog, 2);
      }
      return dialog.result();
    };
  }

  static void type(QDialog& dialog, int id, const char* text) {
    child<QLineEdit>(dialog, id)->setText(text);
  }
  static std::string text(QDialog& dialog, int id) {
    return child<QLineEdit>(dialog, id)->text().toStdString();
  }
  static bool is_checked(QDialog& dialog, int id) {
    return child<QAbstractButton>(dialog, id)->isChecked();
  }

  PseudoTerminal line_;
  std::vector<std::string> titles_;
};

TEST_F(SecurityTest, PinDialogShowsTableModeAndLevelsAndCancelSendsNothing) {
  start_with({});
  program_->pins().set_entry(0, "Alice", 7, 3);
  program_->pins().set_entry(1, "Freed", 55, kPinLevelUnused);
  program_->session().security_mode = 12;
  PortRecord port{};
  program_->model().GetPort(1, port);
  std::strcpy(port.port_name, "Tower");
  port.settings.security_level = 5;
  program_->model().SetPort(1, port);

  answer(std::nullopt, [&](QDialog& dialog) {
    EXPECT_EQ(
        (std::vector<std::string>{text(dialog, 1161), text(dialog, 1183), text(dialog, 1206)}),
        (std::vector<std::string>{"Alice", "0007", "3"}));
    EXPECT_EQ(text(dialog, 1163) + text(dialog, 1186) + text(dialog, 1208), "");
    EXPECT_EQ((std::vector<bool>{is_checked(dialog, 1276), is_checked(dialog, 1277),
                                 is_checked(dialog, 1278)}),
              (std::vector<bool>{false, true, false}));
    EXPECT_EQ(child<QLabel>(dialog, 1279)->text(), "01 Tower");
    EXPECT_EQ(child<QLabel>(dialog, 1303)->text(), "5");
    EXPECT_EQ(child<QLabel>(dialog, 1302)->text(), "24 ");
    // The command does nothing while its dialog is open.
    trigger(kPinSettings);
    type(dialog, 1161, "Mallory");
    click(dialog, 2);
  });
  trigger(kPinSettings);
  EXPECT_EQ(titles_, (std::vector<std::string>{"Security Settings"}));
  EXPECT_STREQ(program_->pins().entry(0).name, "Alice");
  EXPECT_EQ(line_.read_available(), "");
}

TEST_F(SecurityTest, OkSendsTheValidRowsAndPacksThemIntoTheTable) {
  start_with({});
  answer(std::nullopt, [](QDialog& dialog) {
    // No mode has been reported: no button is checked, and none is sent.
    EXPECT_FALSE(is_checked(dialog, 1276) || is_checked(dialog, 1277) || is_checked(dialog, 1278));
    for (const auto& [name, pin, level] : {std::tuple{1163, "42", "3"}, {1167, "1234", "9"}}) {
      type(dialog, name, name == 1163 ? "Bob" : "Carol");
      type(dialog, name == 1163 ? 1186 : 1192, pin);
      type(dialog, name == 1163 ? 1208 : 1212, level);
    }
    type(dialog, 1177, "NoPin");  // row 9
    type(dialog, 1202, "");
    type(dialog, 1222, "1");
    click(dialog, 1);
  });
  trigger(kPinSettings);
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

TEST_F(SecurityTest, ApplyJudgesEachEntryAndAChangeOutlivesCancel) {
  start_with({});
  answer(std::nullopt, [](QDialog& dialog) {
    for (const auto& [entry, confirmation] :
         {std::pair{"abc", "abc"}, {"abcd", "abce"}, {"abc", "wxyz"}, {"Secret1", "Secret1"}}) {
      type(dialog, 1337, entry);
      type(dialog, 1339, confirmation);
      click(dialog, 1336);
    }
    click(dialog, 2);
  });
  trigger(kPasswordProtection);
  EXPECT_EQ(prompts_.told_texts(), (std::vector<std::string>{
                                       "The password must be at least 4 characters",
                                       "Confirmation doesn't match password entry",
                                       "The password must be at least 4 characters",
                                       "Password changed",
                                   }));
  EXPECT_EQ(prompts_.told.back().caption, "MAV Controller");
  EXPECT_EQ(titles_, (std::vector<std::string>{"Password Protection"}));
  EXPECT_EQ(saved_preferences().password, "Secret1");
  // Nothing of it reaches the log.
  EXPECT_EQ(file_text(dir_.path() / "Logs" / "MAVPCI1.log").find("Secret1"), std::string::npos);
}

TEST_F(SecurityTest, OkStoresTheSwitchesAndCancelLeavesThem) {
  start_with({});
  for (const int answer_id : {2, 1}) {
    answer(std::nullopt, [answer_id](QDialog& dialog) {
      child<QCheckBox>(dialog, 1335)->setChecked(true);
      child<QCheckBox>(dialog, 1373)->setChecked(true);
      click(dialog, answer_id);
    });
    trigger(kPasswordProtection);
    const Preferences saved = saved_preferences();
    EXPECT_EQ(std::tuple(saved.protect_pin_settings, saved.protect_permanent_connections,
                         saved.protect_module_settings),
              std::tuple(false, answer_id == 1, answer_id == 1));
  }
}

TEST_F(SecurityTest, ClearPasswordEmptiesItAndTheThreeSwitchesAtOnce) {
  start_with({"Secret1", true, true, true});
  answer("Secret1", [](QDialog& dialog) {
    EXPECT_TRUE(is_checked(dialog, 1333) && is_checked(dialog, 1335) && is_checked(dialog, 1373));
    click(dialog, 1360);
    EXPECT_FALSE(is_checked(dialog, 1333) || is_checked(dialog, 1335) || is_checked(dialog, 1373));
    click(dialog, 2);
  });
  trigger(kPasswordProtection);
  EXPECT_EQ(titles_, (std::vector<std::string>{"Password Check", "Password Protection"}));
  EXPECT_EQ(prompts_.told_texts(), (std::vector<std::string>{"Password cleared"}));
  const Preferences saved = saved_preferences();
  EXPECT_EQ(std::tuple(saved.password, saved.protect_pin_settings,
                       saved.protect_permanent_connections, saved.protect_module_settings),
            std::tuple(std::string(), false, false, false));
}

TEST_F(SecurityTest, GuardedActionsAskOnlyWhenTheirSwitchIsOn) {
  start_with({});
  const Protection modules_only{"Secret1", false, false, true};
  const struct {
    Protection protection;
    Guard guard;
    std::optional<std::string> typed;
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
    program_->application().store_protection(c.protection);
    answer(c.typed);
    EXPECT_EQ(program_->password_check().confirm_password(c.guard), c.proceeds)
        << c.typed.value_or("(cancel)");
    EXPECT_EQ(!titles_.empty(), c.asked);
    EXPECT_EQ(prompts_.told_texts(), c.told_incorrect
                                         ? std::vector<std::string>{"Incorrect password"}
                                         : std::vector<std::string>{});
  }
}

TEST_F(SecurityTest, PinSettingsAndPasswordProtectionAskFirst) {
  const std::vector<std::string> asked_only{"Password Check"};
  const struct {
    int command;
    Protection protection;
    std::optional<std::string> typed;
    std::vector<std::string> dialogs;
  } cases[] = {
      {kPinSettings, {"Secret1", true}, "Secret1", {"Password Check", "Security Settings"}},
      {kPinSettings, {"Secret1", true}, "SECRET1", asked_only},
      {kPinSettings, {"Secret1", true}, std::nullopt, asked_only},
      {kPinSettings, {"Secret1", false, true, true}, "wrong", {"Security Settings"}},
      // The password settings ask whenever a password is set.
      {kPasswordProtection, {"Secret1"}, "Secret1", {"Password Check", "Password Protection"}},
      {kPasswordProtection, {"Secret1"}, "wrong", asked_only},
      {kPasswordProtection, {"", true, true, true}, "wrong", {"Password Protection"}},
  };
  start_with({});
  for (const auto& c : cases) {
    program_->application().store_protection(c.protection);
    answer(c.typed, [](QDialog& dialog) { click(dialog, 1); });
    trigger(c.command);
    EXPECT_EQ(titles_, c.dialogs) << c.command << " " << c.typed.value_or("(cancel)");
  }
  // Only the two PIN settings dialogs that were answered sent anything.
  const std::string sent = "DEL_PIN ALL\rDEL_PIN ALL\r";
  EXPECT_EQ(line_.read(sent.size()), sent);
  EXPECT_EQ(line_.read_available(), "");
}

}  // namespace
}  // namespace mav::test
