#include "app/ui/ServiceDialog.h"

#include <QFormLayout>
#include <QVBoxLayout>

#include "platform/qt/OkCancelRow.h"

namespace mav {
namespace {

constexpr int kMinimumWidth = 380;  // room for a socket path

}  // namespace

ServiceDialog::ServiceDialog(std::vector<ServiceEntry> remembered, QWidget* parent)
    : QDialog(parent), remembered_(std::move(remembered)) {
  setWindowTitle("Attach to a Service");
  setMinimumWidth(kMinimumWidth);
  list_ = new QComboBox;
  list_->setObjectName("services");
  for (const ServiceEntry& entry : remembered_) {
    list_->addItem(QString::fromStdString(entry.name + "  " + entry.address));
  }
  address_ = new QLineEdit;
  address_->setObjectName("address");
  name_ = new QLineEdit;
  name_->setObjectName("name");
  token_ = new QLineEdit;
  token_->setObjectName("token");
  token_->setEchoMode(QLineEdit::Password);

  auto* form = new QFormLayout;
  if (!remembered_.empty()) form->addRow("Remembered:", list_);
  form->addRow("Socket or host:port:", address_);
  form->addRow("This console's name:", name_);
  form->addRow("Token (optional):", token_);
  const OkCancelRow buttons = make_ok_cancel_row();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons.row);
  connect(list_, &QComboBox::currentIndexChanged, this, [this](int index) { fill(index); });
  connect(buttons.ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);
  settle_default_button(*this, *buttons.ok);
  fill(0);
  address_->setFocus();
}

void ServiceDialog::fill(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= remembered_.size()) return;
  const ServiceEntry& entry = remembered_[static_cast<std::size_t>(index)];
  address_->setText(QString::fromStdString(entry.address));
  name_->setText(QString::fromStdString(entry.name));
  token_->setText(QString::fromStdString(entry.token));
}

std::optional<ServiceEntry> ServiceDialog::chosen() const {
  if (result() != QDialog::Accepted) return std::nullopt;
  ServiceEntry entry{name_->text().trimmed().toStdString(),
                     address_->text().trimmed().toStdString(), token_->text().toStdString()};
  if (entry.address.empty()) return std::nullopt;
  return entry;
}

}  // namespace mav
