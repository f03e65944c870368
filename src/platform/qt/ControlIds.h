// Dialog controls keep their resource ids as object names ("id1334"), so a control is found by
// the id its dialog is specified with. UI thread.
#pragma once

#include <QString>

namespace mav {

template <typename Widget>
Widget* named(Widget* widget, int id) {
  widget->setObjectName(QStringLiteral("id%1").arg(id));
  return widget;
}

}  // namespace mav
