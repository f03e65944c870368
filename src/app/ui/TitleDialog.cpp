#include "app/ui/TitleDialog.h"

#include <QLabel>
#include <QVBoxLayout>

#include "platform/qt/OkCancelRow.h"

namespace mav {

namespace {

constexpr int kMinimumWidth = 350;  // room for a long title without scrolling

}  // namespace

TitleDialog::TitleDialog(const std::string& current_title, QWidget* parent) : QDialog(parent) {
  setWindowTitle("MAV Controller");
  setMinimumWidth(kMinimumWidth);
  edit_ = named(new QLineEdit, 1347);
  edit_->setMaxLength(254);
  edit_->setText(QString::fromStdString(current_title));
  edit_->selectAll();
  const OkCancelRow buttons = make_ok_cancel_row();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Enter a new window title:"));
  layout->addWidget(edit_);
  layout->addLayout(buttons.row);
  edit_->setFocus();
  connect(buttons.ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);
  settle_default_button(*this, *buttons.ok);
}

std::string TitleDialog::title() const {
  return result() == QDialog::Accepted ? edit_->text().toStdString() : std::string();
}

}  // namespace mav
