// The closing row of a dialog: OK (id 1, the default button) and Cancel (id 2) at the right, in
// the order the desktop's own dialogs use; and the rule that makes a dialog's default button the
// one Enter presses. UI thread.
#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>

#include <initializer_list>
#include <utility>

#include "platform/qt/ControlIds.h"

namespace mav {

// A dialog's closing buttons, each with its role, laid out in the order the desktop's own dialogs
// use.
inline QDialogButtonBox* desktop_button_order(
    std::initializer_list<std::pair<QPushButton*, QDialogButtonBox::ButtonRole>> buttons) {
  auto* box = new QDialogButtonBox;
  for (const auto& [button, role] : buttons) box->addButton(button, role);
  return box;
}

// Makes `chosen` the button Enter presses wherever the focus is. Call once every button sits in
// `dialog`: a default set before is not the dialog's own, and any other push button would take
// Enter for itself while it has the focus, or keep it after.
inline void settle_default_button(QDialog& dialog, QPushButton& chosen) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) button->setAutoDefault(false);
  chosen.setDefault(true);
}

// OK's default is settled by the dialog once the row is placed (settle_default_button).
struct OkCancelRow {
  QPushButton* ok;
  QPushButton* cancel;
  QHBoxLayout* row;  // owned by whoever adds it to a layout
};

inline OkCancelRow make_ok_cancel_row() {
  OkCancelRow made{named(new QPushButton("OK"), 1), named(new QPushButton("Cancel"), 2),
                   new QHBoxLayout};
  made.row->addWidget(desktop_button_order(
      {{made.ok, QDialogButtonBox::AcceptRole}, {made.cancel, QDialogButtonBox::RejectRole}}));
  return made;
}

}  // namespace mav
