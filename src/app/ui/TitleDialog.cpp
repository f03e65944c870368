#include "app/ui/TitleDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace mav {

TitleDialog::TitleDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("MAV Controller");
  edit_ = new QLineEdit;
  edit_->setObjectName("id1347");
  edit_->setMaxLength(254);
  auto* ok = new QPushButton("OK");
  ok->setObjectName("id1");
  ok->setDefault(true);
  auto* cancel = new QPushButton("Cancel");
  cancel->setObjectName("id2");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Enter a new window title:"));
  layout->addWidget(edit_);
  layout->addLayout(buttons);
  edit_->setFocus();
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::string TitleDialog::title() const {
  return result() == QDialog::Accepted ? edit_->text().toStdString() : std::string();
}

}  // namespace mav
