#include "app/ui/SerialPortDialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/SerialDevices.h"
#include "platform/qt/ControlIds.h"
#include "platform/qt/OkCancelRow.h"

namespace mav {
namespace {

constexpr int kMaxNameLength = 255;
constexpr std::uint32_t kSlowBaud = 9600;
constexpr std::uint32_t kFastBaud = 115200;

}  // namespace

SerialPortDialog::SerialPortDialog(Application& app, const std::string& shown_name,
                                   std::int32_t baud, QWidget* parent)
    : QDialog(parent), app_(app) {
  setWindowTitle("Select Serial Port");

  auto* names = new QGroupBox("Serial Port Name");
  auto* names_layout = new QVBoxLayout(names);
  auto* name_group = new QButtonGroup(this);
  const char* captions[] = {"COM1", "COM2", "COM3", "COM4"};
  for (int i = 0; i < 4; ++i) {
    fixed_names_[static_cast<std::size_t>(i)] = named(new QRadioButton(captions[i]), 1327 + i);
    name_group->addButton(fixed_names_[static_cast<std::size_t>(i)]);
    names_layout->addWidget(fixed_names_[static_cast<std::size_t>(i)]);
  }
  auto* other_row = new QHBoxLayout;
  other_ = named(new QRadioButton("(Other) -->"), 1331);
  auto* other_choices = new QComboBox;
  other_choices->setEditable(true);
  other_choices->setInsertPolicy(QComboBox::NoInsert);
  for (const std::string& device : serial_devices_in("/dev")) {
    other_choices->addItem(QString::fromStdString(device));
  }
  other_choices->setMinimumContentsLength(20);
  other_name_ = named(other_choices->lineEdit(), 1338);
  other_name_->setMaxLength(kMaxNameLength);
  other_name_->installEventFilter(this);
  name_group->addButton(other_);
  other_row->addWidget(other_);
  other_row->addWidget(other_choices, 1);
  names_layout->addLayout(other_row);

  auto* speed = new QGroupBox("Connect To");
  auto* speed_layout = new QVBoxLayout(speed);
  slow_ = named(new QRadioButton("KRT-2 (9600 baud)"), 1446);
  fast_ = named(new QRadioButton("KRT-4 (115200 baud)"), 1447);
  speed_layout->addWidget(slow_);
  speed_layout->addWidget(fast_);

  auto [ok, cancel, buttons] = make_ok_cancel_row();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(names);
  layout->addWidget(speed);
  layout->addLayout(buttons);

  const QString name = QString::fromStdString(shown_name);
  bool fixed = false;
  for (QRadioButton* radio : fixed_names_) {
    if (radio->text() == name) radio->setChecked(fixed = true);
  }
  other_name_->setText(fixed ? QString() : name);
  if (!fixed) other_->setChecked(true);
  (baud == static_cast<std::int32_t>(kFastBaud) ? fast_ : slow_)->setChecked(true);

  connect(other_choices, &QComboBox::currentTextChanged, other_,
          [this] { other_->setChecked(true); });
  connect(ok, &QPushButton::clicked, this, &SerialPortDialog::on_ok);
  connect(cancel, &QPushButton::clicked, this, &SerialPortDialog::reject);
  settle_default_button(*this, *ok);
}

bool SerialPortDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == other_name_ && event->type() == QEvent::FocusIn) other_->setChecked(true);
  return QDialog::eventFilter(watched, event);
}

std::string SerialPortDialog::chosen_name() const {
  for (QRadioButton* radio : fixed_names_) {
    if (radio->isChecked()) return radio->text().toStdString();
  }
  return other_name_->text().left(kMaxNameLength).toStdString();
}

void SerialPortDialog::on_ok() {
  if (app_.choose_serial_port(chosen_name(), fast_->isChecked() ? kFastBaud : kSlowBaud)) {
    accept();
  }
}

void SerialPortDialog::reject() {
  app_.serial_dialog_cancelled();
  QDialog::reject();
}

}  // namespace mav
