// Enter in a dialog's field presses the dialog's default button, whatever other push buttons it
// has: checked by what the button sends or stores.
#include <QTest>
#include <map>

#include "frontend/MenuIds.h"
#include "gui/ProgramRig.h"
#include "modules/ui/DialDialog.h"
#include "protocol/RecordingSender.h"
#include "support/FakeClock.h"
#include "support/PseudoTerminal.h"

namespace mav::test {
namespace {

class DialogEnter : public ProgramRig {
 protected:
  // In the next dialog run: shows it, fills the fields and presses Enter in `field`.
  void enter_in(int field, std::map<int, QString> typed) {
    prompts_.dialog_script = [field, typed](QDialog& dialog) {
      dialog.show();
      for (const auto& [id, text] : typed) child<QLineEdit>(dialog, id)->setText(text);
      QTest::keyClick(child<QWidget>(dialog, field), Qt::Key_Return);
      return dialog.result();
    };
  }
  void put(int port, std::uint32_t type) {
    PortRecord record{};
    program_->model().GetPort(port, record);
    record.mod_type = type;
    record.settings.on_hook = 1;
    program_->model().SetPort(port, record);
  }
  std::string port_name(int port) {
    PortRecord record{};
    program_->model().GetPort(port, record);
    return record.port_name;
  }

  PseudoTerminal line_;
  RecordingSender sender_;
  FakeClock clock_;
};

TEST_F(DialogEnter, RunsTheDefaultButton) {
  struct Row {
    const char* dialog;
    int field;
    std::map<int, QString> typed;
    std::function<std::string()> run;  // opens the dialog; what its button did
    std::string expected;
  };
  const Row rows[] = {
      {"Dial",
       1343,
       {{1343, "5551234"}},
       [&] {
         put(4, MOD_LINE7);
         DialDialog dialog(DialParts{program_->model(), sender_, program_->log(), clock_},
                           program_->application(), prompts_, 4, nullptr);
         prompts_.run_dialog(dialog);
         return sender_.lines().empty() ? std::string() : sender_.lines().back();
       },
       "DIAL 04 5551234 1\r"},
      {"Module settings",
       1001,
       {{1001, "Desk"}},
       [&] {
         put(5, MOD_TOV5);
         window().open_module_settings(5, false);
         return port_name(5);
       },
       "Desk"},
      {"Custom title",
       1347,
       {{1347, "Night shift"}},
       [&] { return window().ask_custom_title(); },
       "Night shift"},
      {"PIN settings",
       1161,
       {{1161, "Ann"}, {1183, "1234"}, {1206, "5"}},
       [&] {
         trigger(menu::kPinSettings);
         return line_.read(22, std::chrono::seconds(2));
       },
       "DEL_PIN ALL\rPIN 1234 5\r"},
      // Last: the password it sets guards the PIN settings from then on.
      {"Password protection",
       1339,
       {{1337, "Secret1"}, {1339, "Secret1"}},
       [&] {
         trigger(menu::kPasswordProtection);
         return saved_preferences().password;
       },
       "Secret1"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.dialog);
    start();
    ASSERT_TRUE(program_->link().open_serial(line_.name(), 9600));
    enter_in(row.field, row.typed);
    EXPECT_EQ(row.run(), row.expected);
    stop();
  }
}

}  // namespace
}  // namespace mav::test
