#include "config/ui/ChangesDialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/ControlIds.h"
#include "platform/qt/OkCancelRow.h"
#include "platform/qt/OperatorPrompts.h"

namespace mav {
namespace {

constexpr int kYesId = 6;
constexpr int kNoId = 7;

}  // namespace

void set_changes(QPlainTextEdit& view, const std::vector<std::string>& lines) {
  QStringList text;
  // A "\r" inside a line (a message of the loader's) starts a new line, as in the boxes.
  for (const std::string& line : lines) {
    text << box_text(line);
  }
  view.setPlainText(text.join(QLatin1Char('\n')));
}

QPlainTextEdit* make_changes_view(const std::vector<std::string>& lines) {
  auto* view = named(new QPlainTextEdit, kChangesTextId);
  view->setReadOnly(true);
  view->setLineWrapMode(QPlainTextEdit::NoWrap);
  set_changes(*view, lines);
  return view;
}

std::unique_ptr<QDialog> make_changes_dialog(const std::vector<std::string>& lines,
                                             QWidget* parent) {
  auto dialog = std::make_unique<QDialog>(parent);
  dialog->setWindowTitle(QStringLiteral("Changes"));
  auto* layout = new QVBoxLayout(dialog.get());
  layout->addWidget(new QLabel(QStringLiteral("Restoring this configuration would change:")));
  layout->addWidget(make_changes_view(lines));
  auto* close = named(new QPushButton(QStringLiteral("Close")), 2);
  QObject::connect(close, &QPushButton::clicked, dialog.get(), &QDialog::reject);
  layout->addWidget(desktop_button_order({{close, QDialogButtonBox::RejectRole}}));
  settle_default_button(*dialog, *close);
  dialog->resize(560, 320);
  return dialog;
}

std::unique_ptr<QDialog> make_changes_confirmation(
    const MessageBoxRequest& box, const Changes& changes, QWidget* parent,
    const std::function<void(QDialog& changes_dialog)>& run_dialog, bool no_is_default) {
  auto dialog = std::make_unique<QDialog>(box.owned_by_main_window ? parent : nullptr);
  QDialog* self = dialog.get();
  dialog->setWindowTitle(QString::fromStdString(box.caption));

  // The desktop's icon and the box's lines, as the other questions show them.
  auto* icon = new QLabel;
  icon->setPixmap(desktop_box_icon(box.icon, *self));
  auto* text = new QLabel(box_text(box.text));
  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addWidget(text, 1);

  auto* show = named(new QPushButton(QStringLiteral("Show changes...")), kShowChangesButtonId);
  auto* yes = named(new QPushButton(QStringLiteral("&Yes")), kYesId);
  auto* no = named(new QPushButton(QStringLiteral("&No")), kNoId);
  QObject::connect(yes, &QPushButton::clicked, self, &QDialog::accept);
  QObject::connect(no, &QPushButton::clicked, self, &QDialog::reject);
  QObject::connect(show, &QPushButton::clicked, self, [self, changes, run_dialog] {
    const std::unique_ptr<QDialog> list = make_changes_dialog(changes(), self);
    run_dialog(*list);
  });
  auto* layout = new QVBoxLayout(self);
  layout->addLayout(top);
  layout->addWidget(desktop_button_order({{show, QDialogButtonBox::ActionRole},
                                          {yes, QDialogButtonBox::YesRole},
                                          {no, QDialogButtonBox::NoRole}}));
  settle_default_button(*self, no_is_default ? *no : *yes);
  return dialog;
}

}  // namespace mav
