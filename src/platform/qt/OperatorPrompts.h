// Where the shell's message boxes and dialogs meet the operator. The program shows them on the
// screen; the GUI tests answer them from a script and record what was asked. UI thread only.
#pragma once

#include <QDialog>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <map>
#include <string>

#include "frontend/Frontend.h"

namespace mav {

// A box's text as Qt shows it: a "\r" starts a new line.
QString box_text(const std::string& text);
// The desktop's own icon for a box, drawn at the style's message-box size for `widget`'s screen;
// the style's icon where the desktop's theme has none; a null pixmap for MessageIcon::None.
QPixmap desktop_box_icon(MessageIcon icon, const QWidget& widget);

class OperatorPrompts {
 public:
  virtual ~OperatorPrompts() = default;
  // Modal: waits until the operator dismisses the box.
  virtual void tell(const MessageBoxRequest& box, QWidget* owner) = 0;
  // Modal Yes/No question; true for Yes.
  virtual bool ask_yes_no(const MessageBoxRequest& box, QWidget* owner) = 0;
  // Modal OK/Cancel question; true for OK.
  virtual bool ask_ok_cancel(const MessageBoxRequest& box, QWidget* owner) = 0;
  // Shown without waiting; the caller carries on at once. While a box of the same text is up, it
  // is brought to the front instead of a second one.
  virtual void show(const MessageBoxRequest& box, QWidget* owner) = 0;
  // Closes the box of this text that show() put up, when the operator has not yet.
  virtual void withdraw(const std::string& /*text*/) {}
  // Runs a dialog modally; its result code (QDialog::Accepted or Rejected).
  virtual int run_dialog(QDialog& dialog) = 0;
};

// The real thing: QMessageBox and QDialog::exec.
class ScreenPrompts final : public OperatorPrompts {
 public:
  void tell(const MessageBoxRequest& box, QWidget* owner) override;
  bool ask_yes_no(const MessageBoxRequest& box, QWidget* owner) override;
  bool ask_ok_cancel(const MessageBoxRequest& box, QWidget* owner) override;
  void show(const MessageBoxRequest& box, QWidget* owner) override;
  void withdraw(const std::string& text) override;
  int run_dialog(QDialog& dialog) override;

 private:
  std::map<std::string, QPointer<QMessageBox>> shown_;  // by text; null once closed
};

}  // namespace mav
