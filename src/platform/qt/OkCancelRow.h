// The closing row of a dialog: OK (id 1, the default button) and Cancel (id 2) at the right.
// UI thread.
#pragma once

#include <QHBoxLayout>
#include <QPushButton>

#include "platform/qt/ControlIds.h"

namespace mav {

struct OkCancelRow {
  QPushButton* ok;
  QPushButton* cancel;
  QHBoxLayout* row;  // owned by whoever adds it to a layout
};

inline OkCancelRow make_ok_cancel_row() {
  OkCancelRow made{named(new QPushButton("OK"), 1), named(new QPushButton("Cancel"), 2),
                   new QHBoxLayout};
  made.ok->setDefault(true);
  made.row->addStretch();
  made.row->addWidget(made.ok);
  made.row->addWidget(made.cancel);
  return made;
}

}  // namespace mav
