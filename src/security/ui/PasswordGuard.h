// The password question in front of the guarded actions: the small "Password Check" dialog and
// what follows its answer. Other subsystems call confirm_password before an action they guard.
// UI thread only; modal.
#pragma once

#include <QWidget>
#include <string>

#include "platform/qt/OperatorPrompts.h"
#include "security/PasswordRules.h"

namespace mav {

class PasswordGuard final : public PasswordCheck {
 public:
  PasswordGuard(const ProtectionStore& store, OperatorPrompts& prompts, QWidget& owner);

  // Asks only when the action's switch is on and a password is set; a wrong password is told
  // "Incorrect password", a cancelled question says nothing.
  bool confirm_password(Guard guard) override;
  // The same before the password settings themselves, which ask whenever a password is set.
  bool confirm_password_settings();

 private:
  bool ask(const std::string& password);

  const ProtectionStore& store_;
  OperatorPrompts& prompts_;
  QWidget& owner_;
};

}  // namespace mav
