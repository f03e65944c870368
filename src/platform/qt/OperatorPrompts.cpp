#include "platform/qt/OperatorPrompts.h"

#include <QIcon>
#include <QMessageBox>
#include <QStyle>

namespace mav {
namespace {

QMessageBox::Icon icon_of(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Exclamation:
      return QMessageBox::Warning;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::None:
      return QMessageBox::NoIcon;
  }
  return QMessageBox::NoIcon;
}

QMessageBox* make_box(const MessageBoxRequest& box, QWidget* owner,
                      QMessageBox::StandardButtons buttons) {
  auto* message =
      new QMessageBox(icon_of(box.icon), QString::fromStdString(box.caption), box_text(box.text),
                      buttons, box.owned_by_main_window ? owner : nullptr);
  message->setAttribute(Qt::WA_DeleteOnClose);
  if (box.icon != MessageIcon::None) message->setIconPixmap(desktop_box_icon(box.icon, *message));
  return message;
}

}  // namespace

QString box_text(const std::string& text) {
  return QString::fromStdString(text).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

QPixmap desktop_box_icon(MessageIcon icon, const QWidget& widget) {
  const char* theme_name = nullptr;
  QStyle::StandardPixmap fallback = QStyle::SP_MessageBoxWarning;
  switch (icon) {
    case MessageIcon::Exclamation:
      theme_name = "dialog-warning";
      break;
    case MessageIcon::Question:
      theme_name = "dialog-question";
      fallback = QStyle::SP_MessageBoxQuestion;
      break;
    case MessageIcon::Information:
      theme_name = "dialog-information";
      fallback = QStyle::SP_MessageBoxInformation;
      break;
    case MessageIcon::None:
      return {};
  }
  const QStyle* style = widget.style();
  const QIcon themed =
      QIcon::fromTheme(QString::fromLatin1(theme_name), style->standardIcon(fallback));
  const int size = style->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &widget);
  return themed.pixmap(QSize(size, size), widget.devicePixelRatio());
}

void ScreenPrompts::tell(const MessageBoxRequest& box, QWidget* owner) {
  make_box(box, owner, QMessageBox::Ok)->exec();
}

bool ScreenPrompts::ask_yes_no(const MessageBoxRequest& box, QWidget* owner) {
  return make_box(box, owner, QMessageBox::Yes | QMessageBox::No)->exec() == QMessageBox::Yes;
}

bool ScreenPrompts::ask_ok_cancel(const MessageBoxRequest& box, QWidget* owner) {
  return make_box(box, owner, QMessageBox::Ok | QMessageBox::Cancel)->exec() == QMessageBox::Ok;
}

void ScreenPrompts::show(const MessageBoxRequest& box, QWidget* owner) {
  QPointer<QMessageBox>& open = shown_[box.text];
  if (open) {
    open->raise();
    open->activateWindow();
    return;
  }
  QMessageBox* message = make_box(box, owner, QMessageBox::Ok);
  // Above every dialog open now, a module settings dialog included, so it can be acknowledged
  // at once; the caller does not wait for it.
  message->setWindowModality(Qt::ApplicationModal);
  message->show();
  open = message;
}

void ScreenPrompts::withdraw(const std::string& text) {
  const auto found = shown_.find(text);
  if (found == shown_.end()) return;
  if (found->second) found->second->close();
  shown_.erase(found);
}

int ScreenPrompts::run_dialog(QDialog& dialog) {
  return dialog.exec();
}

}  // namespace mav
