#include "security/ui/SecurityDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/qt/ControlIds.h"
#include "platform/qt/OkCancelRow.h"
#include "platform/qt/ScreenFit.h"

namespace mav {
namespace {

// The name, PIN and level edits of rows 1 to 20.
constexpr int kRowIds[kPinTableEntries][3] = {
    {1161, 1183, 1206}, {1163, 1186, 1208}, {1165, 1189, 1210}, {1167, 1192, 1212},
    {1169, 1194, 1214}, {1171, 1196, 1216}, {1173, 1198, 1218}, {1175, 1200, 1220},
    {1177, 1202, 1222}, {1159, 1181, 1204}, {1224, 1244, 1263}, {1226, 1246, 1265},
    {1228, 1247, 1267}, {1230, 1248, 1269}, {1232, 1249, 1271}, {1234, 1252, 1272},
    {1236, 1255, 1273}, {1238, 1257, 1274}, {1240, 1259, 1275}, {1179, 1242, 1261}};
constexpr int kRowsPerColumn = 10;
constexpr int kNameLength = 31;

constexpr int kModeIds[] = {1276, 1277, 1278};
constexpr const char* kModeCaptions[] = {"Off", "Exclusive", "Priority"};
constexpr int kModes[] = {kSecurityModeOff, kSecurityModeExclusive, kSecurityModePriority};

constexpr int kFirstPanelPort = 1;
constexpr int kPanelPorts = 24;
constexpr int kPanelLabelId = 1279;
constexpr int kPanelLevelId = 1303;
constexpr int kPanelRowsPerColumn = 12;

QLineEdit* edit(int id, int length, QObject* parent, bool digits) {
  auto* field = named(new QLineEdit, id);
  field->setMaxLength(length);
  if (digits) {
    field->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), parent));
  }
  return field;
}

QLabel* heading(const char* text) {
  auto* label = new QLabel(text);
  label->setFont(QFont(QStringLiteral("monospace")));
  return label;
}

}  // namespace

SecurityDialog::SecurityDialog(const PinTable& pins, int security_mode, const DeviceModel& model,
                               QWidget* parent)
    : QDialog(parent) {
  setWindowTitle("Security Settings");

  auto* mode_box = new QGroupBox("Security Mode");
  auto* mode_layout = new QHBoxLayout(mode_box);
  for (int i = 0; i < 3; ++i) {
    auto* button = named(new QRadioButton(kModeCaptions[i]), kModeIds[i]);
    modes_.addButton(button, kModes[i]);
    button->setChecked(kModes[i] == security_mode);
    mode_layout->addWidget(button);
  }

  auto [ok, cancel, buttons] = make_ok_cancel_row();
  buttons->insertWidget(0, mode_box);

  // The module levels below the users, not beside them: side by side they are wider than the
  // smallest screen, and stacked they scroll downwards only.
  auto* tables = new QVBoxLayout;
  tables->addWidget(make_users(pins));
  tables->addWidget(make_modules(model));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(scrolled(tables), 1);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  settle_default_button(*this, *ok);
  fit_to_room(*this);
}

QWidget* SecurityDialog::make_users(const PinTable& pins) {
  auto* users = new QWidget;
  auto* grid = new QGridLayout(users);
  for (int column = 0; column < 2; ++column) {
    grid->addWidget(heading("User                      PIN      Level"), 0, column * 3, 1, 3);
  }
  for (int k = 0; k < kPinTableEntries; ++k) {
    const auto& ids = kRowIds[k];
    RowEdits& row = rows_[static_cast<std::size_t>(k)];
    row = {edit(ids[0], kNameLength, this, false), edit(ids[1], kPinDigits, this, true),
           edit(ids[2], kLevelDigits, this, true)};
    const PinRowText text = pin_row_text(pins.entry(k));
    row.name->setText(QString::fromStdString(text.name));
    row.pin->setText(QString::fromStdString(text.pin));
    row.level->setText(QString::fromStdString(text.level));
    for (QLineEdit* field : {row.name, row.pin, row.level}) {
      connect(field, &QLineEdit::textChanged, this, [this, &row] { mark(row); });
    }
    const int grid_row = 1 + k % kRowsPerColumn;
    const int grid_column = (k / kRowsPerColumn) * 3;
    grid->addWidget(row.name, grid_row, grid_column);
    grid->addWidget(row.pin, grid_row, grid_column + 1);
    grid->addWidget(row.level, grid_row, grid_column + 2);
  }
  return users;
}

QWidget* SecurityDialog::make_modules(const DeviceModel& model) {
  auto* modules = new QWidget;
  auto* grid = new QGridLayout(modules);
  for (int column = 0; column < 2; ++column) {
    grid->addWidget(heading("Module                         Level"), 0, column * 2, 1, 2);
  }
  for (int i = 0; i < kPanelPorts; ++i) {
    const int port = kFirstPanelPort + i;
    PortRecord record{};
    model.GetPort(port, record);
    char label[300];
    std::snprintf(
        label, sizeof label, "%.2d %s", port,
        std::string(record.port_name, strnlen(record.port_name, sizeof record.port_name)).c_str());
    const int grid_row = 1 + i % kPanelRowsPerColumn;
    const int grid_column = (i / kPanelRowsPerColumn) * 2;
    grid->addWidget(named(new QLabel(label), kPanelLabelId + i), grid_row, grid_column);
    grid->addWidget(
        named(new QLabel(QString::number(record.settings.security_level)), kPanelLevelId + i),
        grid_row, grid_column + 1);
  }
  return modules;
}

PinRowText SecurityDialog::RowEdits::text() const {
  return {name->text().toStdString(), pin->text().toStdString(), level->text().toStdString()};
}

// A row OK would drop says so while it is typed, instead of vanishing without a word.
void SecurityDialog::mark(const RowEdits& row) {
  const PinRowText text = row.text();
  const bool dropped = text != PinRowText{} && !pin_row_kept(text);
  for (QLineEdit* field : {row.name, row.pin, row.level}) {
    field->setToolTip(dropped ? QStringLiteral("Not kept: the row needs a PIN and a level")
                              : QString());
    field->setStyleSheet(dropped ? QStringLiteral("QLineEdit { background: #ffd0d0; }")
                                 : QString());
  }
}

PinSettingsOrder SecurityDialog::order() const {
  std::array<PinRowText, kPinTableEntries> texts;
  for (std::size_t k = 0; k < rows_.size(); ++k) texts[k] = rows_[k].text();
  return pin_settings_order(modes_.checkedId(), texts);
}

}  // namespace mav
