#include "modules/ui/DialDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/TextField.h"
#include "platform/qt/ControlIds.h"
#include "platform/qt/OkCancelRow.h"

namespace mav {
namespace {

constexpr int kTypedTextLimit = 255;
// How often the window looks at the session's clock; the 30 seconds themselves are the session's.
constexpr int kInactivityCheckMs = 200;

}  // namespace

DialDialog::DialDialog(const DialParts& parts, PhoneBookStore& book, OperatorPrompts& prompts,
                       int port, QWidget* parent)
    : QDialog(parent), session_(parts, port), book_(book), prompts_(prompts) {
  setWindowTitle(QString::fromStdString(session_.caption()));

  number_ = named(new QLineEdit, 1343);
  number_->setMaxLength(kTypedTextLimit);
  descriptions_ = named(new QComboBox, 1342);
  descriptions_->setEditable(true);
  descriptions_->setInsertPolicy(QComboBox::NoInsert);
  descriptions_->lineEdit()->setMaxLength(kTypedTextLimit);
  for (const DialEntry& entry : book_.phone_book()) {
    descriptions_->addItem(QString::fromStdString(entry.description));
  }
  descriptions_->setCurrentIndex(-1);
  auto* line1 = named(new QRadioButton("Line 1"), 1345);
  line2_ = named(new QRadioButton("Line 2"), 1346);
  line1->setChecked(true);
  auto* add = named(new QPushButton("Add to List"), 1344);
  auto* remove = named(new QPushButton("Remove"), 1351);
  no_number_ = named(new QCheckBox("No Number Required"), 1393);
  auto* dial = named(new QPushButton("Dial"), 1);
  auto* cancel = named(new QPushButton("Cancel"), 2);

  auto* entries = new QGridLayout;
  entries->addWidget(new QLabel("Number to Dial\n(No spaces, parentheses, or dashes)"), 0, 0);
  entries->addWidget(number_, 1, 0);
  entries->addWidget(new QLabel("Description"), 0, 1, Qt::AlignBottom);
  entries->addWidget(descriptions_, 1, 1);
  auto* choices = new QHBoxLayout;
  choices->addWidget(line1);
  choices->addWidget(line2_);
  choices->addStretch();
  choices->addWidget(add);
  choices->addWidget(remove);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(no_number_);
  buttons->addStretch();
  buttons->addWidget(desktop_button_order(
      {{dial, QDialogButtonBox::AcceptRole}, {cancel, QDialogButtonBox::RejectRole}}));
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(entries);
  layout->addLayout(choices);
  layout->addWidget(new QLabel("This dialog will close after 30 seconds of inactivity"));
  layout->addLayout(buttons);

  connect(number_, &QLineEdit::textChanged, this, &DialDialog::restart_timer);
  // Every click counts as activity, also one on the line already chosen.
  connect(line1, &QRadioButton::clicked, this, &DialDialog::restart_timer);
  connect(line2_, &QRadioButton::clicked, this, &DialDialog::restart_timer);
  connect(no_number_, &QCheckBox::toggled, this, &DialDialog::restart_timer);
  connect(descriptions_, &QComboBox::currentTextChanged, this, &DialDialog::show_number_of);
  connect(add, &QPushButton::clicked, this, &DialDialog::add_to_list);
  connect(remove, &QPushButton::clicked, this, &DialDialog::remove_from_list);
  connect(dial, &QPushButton::clicked, this, &DialDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &DialDialog::reject);
  connect(&inactivity_, &QTimer::timeout, this, &DialDialog::check_inactivity);
  inactivity_.start(kInactivityCheckMs);
  settle_default_button(*this, *dial);
}

void DialDialog::restart_timer() {
  session_.restart_timer();
}

void DialDialog::show_number_of(const QString& description) {
  const PhoneBook book = book_.phone_book();
  const auto found = FindDescription(book, description.toStdString());
  if (found) number_->setText(QString::fromStdString(book[*found].number));
}

void DialDialog::add_to_list() {
  const std::string number = number_->text().toStdString();
  if (number.empty()) return;
  std::string description = descriptions_->currentText().toStdString();
  if (description.empty()) description = number;
  if (book_.edit_phone_book(
          [&](PhoneBook& book) { return AddToPhoneBook(book, number, description); })) {
    descriptions_->addItem(
        QString::fromStdString(std::string(FitText(description, kDialTextLength))));
  } else {
    tell(kPhoneBookFullText, MessageIcon::None);
  }
  restart_timer();
}

void DialDialog::remove_from_list() {
  const QString text = descriptions_->currentText();
  const std::string description = text.toStdString();
  if (!book_.edit_phone_book(
          [&](PhoneBook& book) { return RemoveFromPhoneBook(book, description); })) {
    return;
  }
  descriptions_->removeItem(descriptions_->findText(text));
  descriptions_->setCurrentIndex(-1);
  descriptions_->clearEditText();
}

void DialDialog::accept() {
  switch (session_.dial(number_->text().toStdString(), line2_->isChecked() ? 2 : 1,
                        no_number_->isChecked())) {
    case DialOutcome::NumberMissing:
      tell(kEnterNumberText, MessageIcon::None);
      return;
    case DialOutcome::LineBusy:
      inactivity_.stop();
      tell(kLineOffHookText, MessageIcon::Exclamation);
      QDialog::reject();
      return;
    case DialOutcome::Sent:
      inactivity_.stop();
      QDialog::accept();
      return;
  }
}

void DialDialog::reject() {
  inactivity_.stop();
  session_.give_up(false);
  QDialog::reject();
}

void DialDialog::check_inactivity() {
  if (!session_.timed_out()) return;
  inactivity_.stop();
  if (session_.give_up(true)) tell(kLineOffHookText, MessageIcon::Exclamation);
  QDialog::reject();
}

void DialDialog::tell(const char* text, MessageIcon icon) {
  prompts_.tell({text, "MAV Controller", icon, true}, this);
}

}  // namespace mav
