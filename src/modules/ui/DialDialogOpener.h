// Opens the dial dialog of a LINE-7 port: from a settings dialog's "Dial..." button, and for the
// reply dispatcher when a connection reached an idle line. The dispatcher's call only posts the
// dialog to the UI thread, so the worker keeps dispatching while the operator types. Several
// dial dialogs may be open at once, each with its own port and its own 30 seconds.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include "modules/DialSession.h"
#include "modules/PhoneBook.h"
#include "platform/qt/OperatorPrompts.h"
#include "protocol/SessionHooks.h"

namespace mav {

class DialDialogOpener final : public DialHooks {
 public:
  // ui_object lives on the UI thread.
  DialDialogOpener(const DialParts& parts, PhoneBookStore& book, OperatorPrompts& prompts,
                   QObject& ui_object);

  // The main window, owner of the dialogs the dispatcher asks for. UI thread.
  void set_owner(QWidget& window) { owner_ = &window; }

  // Runs the port's dial dialog modally over owner. UI thread.
  void OpenDialDialog(int port, QWidget* owner);

  // Worker thread: the dialog opens on the UI thread, over the main window.
  void open_dial_dialog(int port) override;

 private:
  DialParts parts_;
  PhoneBookStore& book_;
  OperatorPrompts& prompts_;
  QObject& ui_object_;
  QPointer<QWidget> owner_;
};

}  // namespace mav
