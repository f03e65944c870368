#include "modules/ui/ModuleSettingsDialog.h"

#include <QFileDialog>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <vector>

#include "model/TextField.h"
#include "platform/qt/DesktopOpen.h"
#include "platform/qt/OkCancelRow.h"
#include "platform/qt/ScreenFit.h"
#include "vocabulary/Vocabulary.h"

namespace mav {
namespace {

// The cycle of the colour button, in the order of the stored colour values 0 to 7.
constexpr std::array<const char*, 8> kColourCycle = {"Gray",  "Red",  "Orange", "Yellow",
                                                     "Green", "Cyan", "Blue",   "Magenta"};
constexpr int kMaxTextLength = kTextFieldSize - 1;
constexpr int kMaxColumns = 2;
constexpr int kControlsPerColumn = 12;  // groups and lists fill about this many rows per column

void copy_text(char (&field)[kTextFieldSize], const QString& text) {
  StoreText(field, text.toStdString());
}

std::optional<int> selected(const QComboBox* list) {
  const int index = list->currentIndex();
  if (index < 0) return std::nullopt;
  return index;
}

// A template file's name as shown: without its three-letter extension, "(none)" when empty.
QString shown_template_name(const std::string& name) {
  std::string shown = name;
  if (shown.size() > 4 && shown[shown.size() - 4] == '.') shown.resize(shown.size() - 4);
  return shown.empty() ? QStringLiteral("(none)") : QString::fromStdString(shown);
}

}  // namespace

ModuleSettingsDialog::ModuleSettingsDialog(const ModuleDialogParts& parts, int port,
                                           const PortRecord& working_copy,
                                           const std::string& template_name, QWidget* parent)
    : QDialog(parent),
      parts_(parts),
      port_(port),
      working_(working_copy),
      table_(module_table(working_copy.mod_type)) {
  auto* description = new QGroupBox("Description");
  auto* description_layout = new QHBoxLayout(description);
  name_ = named(new QLineEdit(QString::fromLocal8Bit(working_.port_name)), 1001);
  name_->setMaxLength(kMaxTextLength);
  description_layout->addWidget(name_);

  auto* icon = new QGroupBox("Icon");
  auto* icon_layout = new QHBoxLayout(icon);
  preset_ = named(new QRadioButton("Preset:"), 1391);
  colour_ = named(new QPushButton("Gray"), 1002);
  custom_ = named(new QRadioButton("Custom:"), 1392);
  icon_path_ = named(new QLineEdit(QString::fromLocal8Bit(working_.icon_path)), 1386);
  icon_path_->setMaxLength(kMaxTextLength);
  auto* browse = named(new QPushButton("..."), 1362);
  for (QWidget* w :
       std::initializer_list<QWidget*>{preset_, colour_, custom_, icon_path_, browse}) {
    icon_layout->addWidget(w);
  }
  (working_.icon_preset != 0 ? preset_ : custom_)->setChecked(true);
  if (working_.icon_color < kColourCycle.size())
    colour_->setText(kColourCycle[working_.icon_color]);
  connect(colour_, &QPushButton::clicked, this, &ModuleSettingsDialog::next_colour);
  connect(preset_, &QRadioButton::clicked, this, [this] { working_.icon_preset = 1; });
  connect(custom_, &QRadioButton::clicked, this, [this] { working_.icon_preset = 0; });
  connect(browse, &QPushButton::clicked, this, &ModuleSettingsDialog::select_custom_icon);

  auto* frame = new QHBoxLayout;
  frame->addWidget(description, 1);
  frame->addWidget(icon, 2);
  auto* page = new QVBoxLayout(this);
  page->addLayout(frame);

  auto* buttons = new QHBoxLayout;
  if (table_ != nullptr) {
    page->addWidget(scrolled(build(*table_)), 1);
    for (const int id : table_->extra_buttons) buttons->addWidget(control_for(id));
  }
  buttons->addStretch();
  auto* ok = named(new QPushButton("OK"), 1);
  auto* cancel = named(new QPushButton("Cancel"), 2);
  auto* apply = named(new QPushButton("Apply"), 1370);
  connect(ok, &QPushButton::clicked, this, [this] { store_and_send(true); });
  connect(cancel, &QPushButton::clicked, this, &ModuleSettingsDialog::reject);
  connect(apply, &QPushButton::clicked, this, [this] { store_and_send(false); });
  buttons->addWidget(desktop_button_order({{ok, QDialogButtonBox::AcceptRole},
                                           {cancel, QDialogButtonBox::RejectRole},
                                           {apply, QDialogButtonBox::ApplyRole}}));
  page->addLayout(buttons);
  settle_default_button(*this, *ok);

  if (table_ == nullptr) return;
  setWindowTitle(
      QString::fromUtf8(table_->title_format.data(), static_cast<int>(table_->title_format.size()))
          .replace(QStringLiteral("%.2d"), QStringLiteral("%1").arg(port, 2, 10, QChar('0'))));
  if (template_name_ != nullptr) show_template_name(template_name);
  if (table_->mod_type == MOD_LINE7) {
    line_connected_ = working_.bus != GROUP_NONE;
    for (const int id : {1348, 1352}) control_for(id)->setEnabled(line_connected_);
  }
  show_settings(working_.settings);
  show_mek_squelch();

  // The module's size in dialog units (a quarter of the average character width, an eighth of
  // the line height), enlarged as a whole until every control fits, so the proportions stay;
  // on a screen too small for that the settings scroll.
  const QFontMetrics metrics(font());
  const double width = table_->width_units * metrics.averageCharWidth() / 4.0;
  const double height = table_->height_units * metrics.height() / 8.0;
  const QSize needed = sizeHint();
  const double scale = std::max({1.0, needed.width() / width, needed.height() / height});
  resize(QSize(static_cast<int>(width * scale + 0.5), static_cast<int>(height * scale + 0.5))
             .boundedTo(kDialogRoom));
}

QLayout* ModuleSettingsDialog::build(const ModuleTable& table) {
  setWindowTitle(QString::fromUtf8(table.caption.data(), static_cast<int>(table.caption.size())));
  int controls = 0;
  for (const DialogGroup& group : table.groups)
    controls += 1 + static_cast<int>(group.controls.size());
  const int columns =
      std::clamp((controls + kControlsPerColumn - 1) / kControlsPerColumn, 1, kMaxColumns);
  const int per_column = (controls + columns - 1) / columns;

  auto* body = new QHBoxLayout;
  auto* column = new QVBoxLayout;
  int filled = 0;
  for (const DialogGroup& group : table.groups) {
    if (filled >= per_column) {
      column->addStretch();
      body->addLayout(column);
      column = new QVBoxLayout;
      filled = 0;
    }
    QWidget* box = group.title.empty()
                       ? new QWidget
                       : new QGroupBox(QString::fromUtf8(group.title.data(),
                                                         static_cast<int>(group.title.size())));
    auto* form = new QFormLayout(box);
    for (const int id : group.controls) {
      if (const SettingRow* row = find_row(table, id)) {
        auto* list = named(new QComboBox, id);
        for (const Choice& choice : row->choices) {
          list->addItem(
              QString::fromUtf8(choice.label.data(), static_cast<int>(choice.label.size())));
        }
        connect(list, &QComboBox::currentIndexChanged, this,
                &ModuleSettingsDialog::update_enabled_states);
        lists_[id] = list;
        const QString label =
            QString::fromUtf8(row->label.data(), static_cast<int>(row->label.size()));
        if (row->keyword == kw::MEK_SQUELCH_TYPE) {
          auto* with_note = new QHBoxLayout;
          with_note->addWidget(list);
          with_note->addWidget(new QLabel("(MEK-8 only)"));
          form->addRow(label, with_note);
        } else {
          form->addRow(label, list);
        }
      } else if (id == 1439) {
        template_name_ = named(new QLineEdit, 1439);
        template_name_->setReadOnly(true);
        form->addRow("Last Loaded / Saved:", template_name_);
      } else {
        form->addRow(control_for(id));
      }
    }
    column->addWidget(box);
    filled += 1 + static_cast<int>(group.controls.size());
  }
  column->addStretch();
  body->addLayout(column);
  return body;
}

QWidget* ModuleSettingsDialog::control_for(int id) {
  if (auto* existing = findChild<QPushButton*>(QStringLiteral("id%1").arg(id))) return existing;
  switch (id) {
    case 1348:
      return add_button(id, "Hang Up", &ModuleSettingsDialog::hang_up);
    case 1352:
      return add_button(id, "Dial...", &ModuleSettingsDialog::dial);
    case 1349:
    case 1355:
      return add_button(id, "Save...", &ModuleSettingsDialog::save_template);
    case 1353:
      return add_button(id, "Load...", &ModuleSettingsDialog::load_template);
    case 1354:
      return add_button(id, "VOQ Help...", &ModuleSettingsDialog::open_help);
    default:  // 1356
      return add_button(id, "Open App Notes...", &ModuleSettingsDialog::open_application_notes);
  }
}

QPushButton* ModuleSettingsDialog::add_button(int id, const char* caption,
                                              void (ModuleSettingsDialog::*slot)()) {
  auto* button = named(new QPushButton(caption, this), id);
  connect(button, &QPushButton::clicked, this, slot);
  return button;
}

void ModuleSettingsDialog::show_settings(const ModuleSettings& settings) {
  for (const SettingRow& row : table_->rows) {
    if (row.keyword == kw::MEK_SQUELCH_TYPE) continue;
    const QSignalBlocker quiet(lists_[row.control_id]);
    lists_[row.control_id]->setCurrentIndex(shown_position(row, settings).value_or(-1));
  }
  update_enabled_states();
}

void ModuleSettingsDialog::show_mek_squelch() {
  const auto found = lists_.find(1414);
  if (found == lists_.end()) return;
  const int reported = parts_.session.mek_squelch_type.load();
  const SettingRow& row = *find_row(*table_, 1414);
  const QSignalBlocker quiet(found->second);
  found->second->setCurrentIndex(
      shown_position(row, static_cast<std::uint32_t>(reported)).value_or(-1));
  found->second->setEnabled(reported != kMekSquelchUnknown);
}

void ModuleSettingsDialog::update_enabled_states() {
  ModuleSettings shown = working_.settings;
  read_lists(shown);
  for (const EnableRule& rule : table_->enable_rules) {
    const bool enabled = rule.enabled(shown);
    for (const int id : rule.controls) lists_[id]->setEnabled(enabled);
  }
}

void ModuleSettingsDialog::read_lists(ModuleSettings& settings) {
  for (const SettingRow& row : table_->rows) {
    store_position(row, selected(lists_[row.control_id]), settings);
  }
}

void ModuleSettingsDialog::store_icon(PortRecord& target) {
  copy_text(target.port_name, name_->text());
  copy_text(target.icon_path, icon_path_->text());
  target.icon_color = working_.icon_color;
  if (preset_->isChecked()) {
    target.icon_preset = 1;
    parts_.icons.LoadCustom(nullptr, target.icon_id);
    target.icon_id = -1;
    return;
  }
  target.icon_preset = 0;
  target.icon_id = parts_.icons.LoadCustom(target.icon_path, target.icon_id);
  if (target.icon_id == -1) {
    target.icon_preset = 1;
    parts_.prompts.tell(
        {"The custom icon could not be loaded", "MAV Controller", MessageIcon::Exclamation, false},
        this);
  }
}

bool ModuleSettingsDialog::disconnect_two_wire_line(PortRecord& target) {
  // A 2-wire telephone line left on hook while on a bus is released, so the gateway frees the
  // port from its bus and groups.
  if (!line_connected_ || target.settings.on_hook == 0 || target.settings.two_w_four_w != 0) {
    return false;
  }
  target.disch_step = 9;
  return true;
}

void ModuleSettingsDialog::store_and_send(bool closing) {
  if (table_ == nullptr) {
    if (closing) accept();
    return;
  }
  if (parts_.features.send_settings) {
    PortRecord chosen = working_;
    read_lists(chosen.settings);
    if (closing) QDialog::accept();
    parts_.features.send_settings(port_, chosen);
    return;
  }
  PortRecord target{};
  parts_.model.GetPort(port_, target);
  store_icon(target);
  read_lists(target.settings);
  if (const auto squelch = lists_.find(1414); squelch != lists_.end()) {
    const auto requested = static_cast<std::uint32_t>(parts_.writer.mek_squelch_requested());
    parts_.writer.request_mek_squelch(static_cast<int>(
        read_back(*find_row(*table_, 1414), selected(squelch->second), requested)));
  }
  const bool release = closing && disconnect_two_wire_line(target);
  parts_.model.Update(port_, [&target](PortRecord& q) {
    CopyUserFields(q, target);
    q.settings = target.settings;
    q.disch_step = target.disch_step;
  });
  if (release) send_port_command("DISC_S");
  if (closing) QDialog::accept();
  parts_.screen.request_repaint();
  parts_.writer.WriteModuleSettings(port_, target, &working_);
}

void ModuleSettingsDialog::reject() {
  PortRecord target{};
  parts_.model.GetPort(port_, target);
  if (!parts_.features.send_settings && disconnect_two_wire_line(target)) {
    parts_.model.Update(port_, [](PortRecord& q) { q.disch_step = 9; });
    send_port_command("DISC_S");
  }
  QDialog::reject();
}

void ModuleSettingsDialog::refresh() {
  parts_.model.GetPort(port_, working_);
  if (template_name_ != nullptr && parts_.features.loaded_template_name) {
    if (const auto name = parts_.features.loaded_template_name(port_)) show_template_name(*name);
  }
  if (table_ == nullptr || table_->mod_type == MOD_MEK4) return;
  show_settings(working_.settings);
}

void ModuleSettingsDialog::next_colour() {
  const auto* found = std::find(kColourCycle.begin(), kColourCycle.end(), colour_->text());
  if (found == kColourCycle.end()) return;
  const auto next =
      static_cast<std::size_t>(found - kColourCycle.begin() + 1) % kColourCycle.size();
  colour_->setText(kColourCycle[next]);
  working_.icon_color = static_cast<std::uint8_t>(next);
}

void ModuleSettingsDialog::save_template() {
  parts_.model.GetPort(port_, working_);
  store_icon(working_);
  read_lists(working_.settings);
  if (!parts_.features.save_template) return;
  const auto saved = parts_.features.save_template(port_, working_);
  if (saved && template_name_ != nullptr) show_template_name(*saved);
}

void ModuleSettingsDialog::load_template() {
  if (parts_.features.load_template) parts_.features.load_template(port_, working_);
}

void ModuleSettingsDialog::select_custom_icon() {
  if (!parts_.features.select_custom_icon) return;
  setEnabled(false);
  if (const auto path = parts_.features.select_custom_icon(this)) {
    icon_path_->setText(QString::fromStdString(*path));
  }
  setEnabled(true);
  activateWindow();
}

void ModuleSettingsDialog::send_port_command(const char* keyword) {
  char line[32];
  std::snprintf(line, sizeof line, "%s %.2d\r", keyword, port_);
  parts_.sender.send_line(line, true);
}

void ModuleSettingsDialog::hang_up() {
  send_port_command("ON_HOOK");
}

void ModuleSettingsDialog::dial() {
  if (parts_.features.open_dial) parts_.features.open_dial(port_, this);
}

void ModuleSettingsDialog::open_help() {
  show_document(parts_.shared_directory / "VOQ_Help.pdf");
}

void ModuleSettingsDialog::open_application_notes() {
  QFileDialog chooser(parentWidget(), "Open Application Notes",
                      QString::fromStdString((parts_.program_directory / "Templates").string()),
                      "Adobe Acrobat files (*.pdf)");
  chooser.setFileMode(QFileDialog::ExistingFile);
  chooser.setDefaultSuffix("pdf");
  if (parts_.prompts.run_dialog(chooser) != QDialog::Accepted || chooser.selectedFiles().isEmpty())
    return;
  show_document(chooser.selectedFiles().front().toStdString());
}

// A button that seems to do nothing leaves the operator guessing: without a viewer, say so and
// where the document is.
void ModuleSettingsDialog::show_document(const std::filesystem::path& file) {
  if (open_with_desktop_viewer(file)) return;
  parts_.prompts.tell(
      {"No viewer for PDF files.\rYou will have to open the file manually.\r" + file.string(),
       "MAV Controller", MessageIcon::Exclamation},
      this);
}

void ModuleSettingsDialog::show_template_name(const std::string& name) {
  template_name_->setText(shown_template_name(name));
}

}  // namespace mav
