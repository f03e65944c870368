#include "security/ui/PasswordGuard.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/ControlIds.h"
#include "platform/qt/OkCancelRow.h"

namespace mav {

PasswordGuard::PasswordGuard(const ProtectionStore& store, OperatorPrompts& prompts, QWidget& owner)
    : store_(store), prompts_(prompts), owner_(owner) {}

bool PasswordGuard::confirm_password(Guard guard) {
  const Protection protection = store_.protection();
  return !protection.asks_for(guard) || ask(protection.password);
}

bool PasswordGuard::confirm_password_settings() {
  const Protection protection = store_.protection();
  return protection.password.empty() || ask(protection.password);
}

bool PasswordGuard::ask(const std::string& password) {
  QDialog dialog(&owner_);
  dialog.setWindowTitle("Password Check");
  // The field takes any length up to the longest password, so it tells nothing about this one.
  auto* typed = named(new QLineEdit, 1334);
  typed->setEchoMode(QLineEdit::Password);
  typed->setMaxLength(static_cast<int>(kPasswordMaxLength));
  auto [ok, cancel, buttons] = make_ok_cancel_row();
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel("Please enter the password to continue:"));
  layout->addWidget(typed);
  layout->addLayout(buttons);
  typed->setFocus();
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  settle_default_button(dialog, *ok);

  if (prompts_.run_dialog(dialog) != QDialog::Accepted) return false;
  const bool accepted = password_matches(typed->text().toStdString(), password);
  typed->clear();
  if (!accepted) {
    prompts_.tell({"Incorrect password", "MAV Controller", MessageIcon::Exclamation, true},
                  &owner_);
  }
  return accepted;
}

}  // namespace mav
