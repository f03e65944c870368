// The closing row of a dialog: OK (id 1, the default button) and Cancel (id 2) at the right, in
// the order the desktop's own dialogs use. UI thread.
#pragma once

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

struct OkCancelRow {
  QPushButton* ok;
  QPushButton* cancel;
  QHBoxLayout* row;  // owned by whoever adds it to a layout
};

inline OkCancelRow make_ok_cancel_row() {
  OkCancelRow made{named(new QPushButton("OK"), 1), named(new QPushButton("Cancel"), 2),
                   new QHBoxLayout};
  made.ok->setDefault(true);
  made.row->addWidget(desktop_button_order(
      {{made.ok, QDialogButtonBox::AcceptRole}, {made.cancel, QDialogButtonBox::RejectRole}}));
  return made;
}

}  // namespace mav
