// "Password Protection": the three switches, and the password set, changed or cleared. Apply and
// Clear Password take effect at once and keep the dialog open; OK applies a typed password as
// Apply does and stores the switches, Cancel leaves them. UI thread.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>

#include "platform/qt/OperatorPrompts.h"
#include "security/PasswordRules.h"

namespace mav {

class PasswordDialog : public QDialog {
  Q_OBJECT

 public:
  PasswordDialog(ProtectionStore& store, OperatorPrompts& prompts, QWidget* parent);

 private:
  bool apply();  // true when the password was changed
  void clear_password();
  void on_ok();
  void store_switches();
  void tell(const char* text);

  ProtectionStore& store_;
  OperatorPrompts& prompts_;
  QCheckBox* pin_settings_ = nullptr;
  QCheckBox* permanent_connections_ = nullptr;
  QCheckBox* module_settings_ = nullptr;
  QLineEdit* entry_ = nullptr;
  QLineEdit* confirmation_ = nullptr;
};

}  // namespace mav
