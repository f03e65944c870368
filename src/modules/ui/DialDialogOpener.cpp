#include "modules/ui/DialDialogOpener.h"

#include "modules/ui/DialDialog.h"

namespace mav {

DialDialogOpener::DialDialogOpener(const DialParts& parts, PhoneBookStore& book,
                                   OperatorPrompts& prompts, QObject& ui_object)
    : parts_(parts), book_(book), prompts_(prompts), ui_object_(ui_object) {}

void DialDialogOpener::OpenDialDialog(int port, QWidget* owner) {
  DialDialog dialog(parts_, book_, prompts_, port, owner);
  prompts_.run_dialog(dialog);
}

void DialDialogOpener::open_dial_dialog(int port) {
  QMetaObject::invokeMethod(
      &ui_object_, [this, port] { OpenDialDialog(port, owner_.data()); }, Qt::QueuedConnection);
}

}  // namespace mav
