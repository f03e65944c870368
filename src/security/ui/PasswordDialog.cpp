#include "security/ui/PasswordDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/ControlIds.h"
#include "platform/qt/OkCancelRow.h"

namespace mav {
namespace {

QLineEdit* password_field(int id) {
  auto* field = named(new QLineEdit, id);
  field->setEchoMode(QLineEdit::Password);
  field->setMaxLength(static_cast<int>(kPasswordMaxLength));
  return field;
}

}  // namespace

PasswordDialog::PasswordDialog(ProtectionStore& store, OperatorPrompts& prompts, QWidget* parent)
    : QDialog(parent), store_(store), prompts_(prompts) {
  setWindowTitle("Password Protection");
  const Protection protection = store_.protection();
  pin_settings_ = named(new QCheckBox("MAV-7700 PIN Settings are password protected"), 1333);
  permanent_connections_ =
      named(new QCheckBox("Permanent Connections are password protected"), 1335);
  module_settings_ = named(new QCheckBox("Module Settings are password protected"), 1373);
  pin_settings_->setChecked(protection.pin_settings);
  permanent_connections_->setChecked(protection.permanent_connections);
  module_settings_->setChecked(protection.module_settings);

  auto* change = new QGroupBox("Change Password");
  auto* fields = new QGridLayout(change);
  entry_ = password_field(1337);
  confirmation_ = password_field(1339);
  auto* apply_button = named(new QPushButton("Apply"), 1336);
  auto* clear_button = named(new QPushButton("Clear Password"), 1360);
  fields->addWidget(new QLabel("Type new password:"), 0, 0);
  fields->addWidget(entry_, 0, 1);
  fields->addWidget(new QLabel("Confirm new password:"), 1, 0);
  fields->addWidget(confirmation_, 1, 1);
  fields->addWidget(apply_button, 2, 0);
  fields->addWidget(clear_button, 2, 1);

  auto [ok, cancel, buttons] = make_ok_cancel_row();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pin_settings_);
  layout->addWidget(permanent_connections_);
  layout->addWidget(module_settings_);
  layout->addWidget(change);
  layout->addLayout(buttons);

  connect(apply_button, &QPushButton::clicked, this, &PasswordDialog::apply);
  connect(clear_button, &QPushButton::clicked, this, &PasswordDialog::clear_password);
  connect(ok, &QPushButton::clicked, this, &PasswordDialog::on_ok);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  // Enter in a password field means OK, not Apply.
  settle_default_button(*this, *ok);
}

bool PasswordDialog::apply() {
  const std::string entry = entry_->text().toStdString();
  const NewPasswordVerdict verdict = judge_new_password(entry, confirmation_->text().toStdString());
  if (verdict == NewPasswordVerdict::Accepted) {
    Protection protection = store_.protection();
    protection.password = kept_password(entry);
    store_.store_protection(protection);
  }
  tell(verdict_message(verdict));
  return verdict == NewPasswordVerdict::Accepted;
}

void PasswordDialog::clear_password() {
  store_.store_protection(Protection{});
  for (QCheckBox* box : {pin_settings_, permanent_connections_, module_settings_}) {
    box->setChecked(false);
  }
  tell("Password cleared");
}

// A password typed into both fields is meant to be set, Apply pressed or not: OK applies it
// first, and stays open with Apply's message when it cannot.
void PasswordDialog::on_ok() {
  const std::string entry = entry_->text().toStdString();
  const std::string confirmation = confirmation_->text().toStdString();
  const bool applied_already = entry == confirmation && entry == store_.protection().password;
  if ((!entry.empty() || !confirmation.empty()) && !applied_already && !apply()) return;
  store_switches();
}

void PasswordDialog::store_switches() {
  Protection protection = store_.protection();
  protection.pin_settings = pin_settings_->isChecked();
  protection.permanent_connections = permanent_connections_->isChecked();
  protection.module_settings = module_settings_->isChecked();
  store_.store_protection(protection);
  accept();
}

void PasswordDialog::tell(const char* text) {
  prompts_.tell({text, "MAV Controller", MessageIcon::None, true}, this);
}

}  // namespace mav
