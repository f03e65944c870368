#include "app/ui/NetworkSiteDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "app/AddressFields.h"
#include "app/ConnectionLists.h"
#include "platform/qt/ControlIds.h"
#include "platform/qt/OkCancelRow.h"

namespace mav {
namespace {

constexpr int kDescriptionLength = 47;
constexpr const char* kDefaultPort = "23";
// 0 to 255, leading zeros allowed: typing that would leave this range is refused.
const QRegularExpression kAddressNumber("[01]?[0-9]{1,2}|2[0-4][0-9]|25[0-5]");

void move_to(QLineEdit* next) {
  next->setFocus();
  next->selectAll();
}

}  // namespace

NetworkSiteDialog::NetworkSiteDialog(Application& app, OperatorPrompts& prompts, QWidget* parent)
    : QDialog(parent), app_(app), prompts_(prompts) {
  setWindowTitle("Select Network Site");

  auto* add_box = new QGroupBox("Add New Network Site");
  auto* add_layout = new QGridLayout(add_box);
  add_layout->addWidget(new QLabel("IP Address"), 0, 0);
  auto* address_row = new QHBoxLayout;
  for (int i = 0; i < 4; ++i) {
    QLineEdit* edit = named(new QLineEdit, 1394 + i);
    edit->setMaxLength(3);
    edit->setValidator(new QRegularExpressionValidator(kAddressNumber, edit));
    edit->installEventFilter(this);
    address_[static_cast<std::size_t>(i)] = edit;
    address_row->addWidget(edit);
    if (i < 3) address_row->addWidget(new QLabel("."));
  }
  add_layout->addLayout(address_row, 0, 1);
  add_layout->addWidget(new QLabel("Port (23 is default)"), 1, 0);
  port_ = named(new QLineEdit(kDefaultPort), 1399);
  add_layout->addWidget(port_, 1, 1);
  add_layout->addWidget(new QLabel("Description:"), 2, 0);
  description_ = named(new QLineEdit, 1400);
  description_->setMaxLength(kDescriptionLength);
  add_layout->addWidget(description_, 2, 1);
  auto* add = named(new QPushButton("Add"), 1369);
  auto* add_and_connect = named(new QPushButton("Add and Connect"), 1398);
  auto* add_buttons = new QHBoxLayout;
  add_buttons->addWidget(add);
  add_buttons->addWidget(add_and_connect);
  add_layout->addLayout(add_buttons, 3, 1);

  auto* stored_box = new QGroupBox("Stored Network Sites");
  auto* stored_layout = new QVBoxLayout(stored_box);
  sites_ = named(new QListWidget, 1358);
  sites_->installEventFilter(this);
  stored_layout->addWidget(sites_);
  auto* connect_button = named(new QPushButton("Connect"), 1363);
  auto* remove = named(new QPushButton("Remove"), 1366);
  auto* disconnect = named(new QPushButton("Disconnect"), 1372);
  auto* close = named(new QPushButton("Close"), 2);
  auto* stored_buttons = new QHBoxLayout;
  stored_buttons->addWidget(connect_button);
  stored_buttons->addWidget(remove);
  stored_buttons->addWidget(disconnect);
  stored_buttons->addStretch();
  stored_buttons->addWidget(close);
  stored_layout->addLayout(stored_buttons);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(add_box);
  layout->addWidget(stored_box);

  // Three digits complete an address number: typing goes on in the next field.
  for (int i = 0; i < 4; ++i) {
    QLineEdit* next = i < 3 ? address_[static_cast<std::size_t>(i + 1)] : port_;
    connect(address_[static_cast<std::size_t>(i)], &QLineEdit::textEdited, this,
            [next](const QString& text) {
              if (text.size() == 3) move_to(next);
            });
  }
  connect(sites_, &QListWidget::itemDoubleClicked, this, &NetworkSiteDialog::on_connect);
  connect(add, &QPushButton::clicked, this, [this] { add_typed_site(); });
  connect(add_and_connect, &QPushButton::clicked, this, &NetworkSiteDialog::on_add_and_connect);
  connect(connect_button, &QPushButton::clicked, this, &NetworkSiteDialog::on_connect);
  connect(remove, &QPushButton::clicked, this, &NetworkSiteDialog::on_remove);
  connect(disconnect, &QPushButton::clicked, this, &NetworkSiteDialog::on_disconnect);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  fill_list();
  settle_default_button(*this, *add);
}

bool NetworkSiteDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (watched == sites_ && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
    // Enter on a listed site means that site, never the form's default Add.
    on_connect();
    return true;
  }
  if (key == Qt::Key_Period) {
    // "." ends an address number as typing it in dotted form would; in a field still empty it
    // follows a number whose third digit already moved on, and is ignored.
    for (std::size_t i = 0; i < 3; ++i) {
      if (watched == address_[i]) {
        if (!address_[i]->text().isEmpty()) move_to(address_[i + 1]);
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

void NetworkSiteDialog::fill_list() {
  sites_->clear();
  const int in_use = app_.link_status().site;
  const std::vector<NetworkSite> sites = app_.preferences().sites;
  for (std::size_t i = 0; i < sites.size(); ++i) {
    auto* item = new QListWidgetItem(QString::fromStdString(site_list_line(sites[i])), sites_);
    if (static_cast<int>(i) != in_use) continue;
    QFont bold = item->font();
    bold.setBold(true);
    item->setFont(bold);
  }
}

void NetworkSiteDialog::clear_form() {
  for (QLineEdit* edit : address_) edit->clear();
  port_->setText(kDefaultPort);
  description_->clear();
  address_[0]->setFocus();
}

void NetworkSiteDialog::warn(const char* text) {
  prompts_.tell({text, "MAV Controller", MessageIcon::Exclamation, true}, this);
}

bool NetworkSiteDialog::add_typed_site() {
  const std::string description = description_->text().left(kDescriptionLength).toStdString();
  std::array<std::uint8_t, 4> address{};
  for (std::size_t i = 0; i < 4; ++i) {
    const auto number = parse_address_number(address_[i]->text().toStdString());
    if (!number) {
      warn("Each field in the IP address must contain a number from 0 to 255");
      return false;
    }
    address[i] = *number;
  }
  const auto port = parse_tcp_port(port_->text().toStdString());
  if (!port) {
    warn("The Port field must contain a number from 1 to 65535");
    return false;
  }
  if (!app_.add_site(address, *port, description)) {
    warn(
        "The site could not be added.\rThe address is already in the list, or the list is "
        "full.");
    return false;
  }
  fill_list();
  clear_form();
  return true;
}

void NetworkSiteDialog::on_add_and_connect() {
  if (!add_typed_site()) return;
  if (!app_.select_connection(app_.preferences().site_count() - 1)) {
    prompts_.tell({"Connect Failed", "MAV Controller", MessageIcon::None, true}, this);
    return;
  }
  accept();
}

int NetworkSiteDialog::selected_row() const {
  // Only a highlighted site counts: the keyboard's current row alone may be anything.
  const QList<QListWidgetItem*> chosen = sites_->selectedItems();
  return chosen.isEmpty() ? -1 : sites_->row(chosen.front());
}

void NetworkSiteDialog::on_connect() {
  const int row = selected_row();
  if (row < 0) return;
  app_.select_connection(row);
  accept();
}

void NetworkSiteDialog::on_remove() {
  const int row = selected_row();
  if (row < 0) return;
  if (!app_.remove_site(row)) {
    warn(
        "The MAV Controller is currently connected to this address.\rYou must disconnect before "
        "removing it.");
    return;
  }
  fill_list();
}

void NetworkSiteDialog::on_disconnect() {
  if (!app_.preferences().network_mode) {
    warn("This button can only be used if a network connection is active");
    return;
  }
  app_.select_connection(-2);
  accept();
}

}  // namespace mav
