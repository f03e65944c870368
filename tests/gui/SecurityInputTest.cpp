// What the security dialogs make of typed input: the PIN rows take only what the gateway takes
// and mark a row OK would drop, and Password Protection's OK applies a typed password as Apply
// does.
#include <QCheckBox>
#include <QTest>

#include "gui/ProgramRig.h"
#include "security/ui/PasswordDialog.h"
#include "security/ui/SecurityDialog.h"

namespace mav::test {
namespace {

using Lines = std::vector<std::string>;

QLineEdit* field(QDialog& dialog, int id) {
  return dialog.findChild<QLineEdit*>(QStringLiteral("id%1").arg(id));
}

TEST(PinRows, TakeWhatTheGatewayTakesAndMarkARowThatWouldBeDropped) {
  const PinTable pins;
  const DeviceModel model;
  SecurityDialog dialog(pins, kSecurityModeOff, model, nullptr);
  QTest::keyClicks(field(dialog, 1161), "Ann");
  QTest::keyClicks(field(dialog, 1183), "123456");
  QTest::keyClicks(field(dialog, 1206), "42");
  QTest::keyClicks(field(dialog, 1163), "Bob");  // no PIN, no level yet
  EXPECT_EQ(dialog.order().lines, (Lines{"SECURITY_MODE OFF\r", "DEL_PIN ALL\r", "PIN 1234 4\r"}));
  EXPECT_EQ(field(dialog, 1183)->toolTip(), "");
  for (const int id : {1163, 1186, 1208}) {
    EXPECT_EQ(field(dialog, id)->toolTip(), "Not kept: the row needs a PIN and a level");
  }
  QTest::keyClicks(field(dialog, 1186), "7");
  QTest::keyClicks(field(dialog, 1208), "2");
  EXPECT_EQ(field(dialog, 1163)->toolTip(), "");
  EXPECT_EQ(dialog.order().lines.back(), "PIN 0007 2\r");
}

class KeptProtection final : public ProtectionStore {
 public:
  Protection protection() const override { return kept; }
  void store_protection(const Protection& protection) override { kept = protection; }
  void save_preferences() override {}
  Protection kept;
};

TEST(PasswordProtection, OkAppliesMatchingFieldsAndStaysOpenWhenTheyDiffer) {
  const struct {
    const char* entry;
    const char* confirmation;
    std::string password;  // afterwards
    Lines told;
    bool closed;
  } cases[] = {
      {"Secret1", "Secret1", "Secret1", {"Password changed"}, true},
      {"Secret1", "Secret2", "", {"Confirmation doesn't match password entry"}, false},
      {"abc", "abc", "", {"The password must be at least 4 characters"}, false},
      {"", "", "", {}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    KeptProtection store;
    RecordingPrompts prompts;
    PasswordDialog dialog(store, prompts, nullptr);
    field(dialog, 1337)->setText(c.entry);
    field(dialog, 1339)->setText(c.confirmation);
    dialog.findChild<QCheckBox*>(QStringLiteral("id1373"))->setChecked(true);
    dialog.findChild<QPushButton*>(QStringLiteral("id1"))->click();
    EXPECT_EQ(store.kept.password, c.password);
    EXPECT_EQ(prompts.told_texts(), c.told);
    EXPECT_EQ(store.kept.module_settings, c.closed);  // the switches go with the closing OK
    EXPECT_EQ(dialog.result(), c.closed ? QDialog::Accepted : QDialog::Rejected);
  }
}

}  // namespace
}  // namespace mav::test
