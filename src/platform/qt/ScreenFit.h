// Dialogs on the smallest screen the program supports, 800 x 600: a dialog whose controls need
// more room shows them in a scroll area, so that its closing buttons stay on the screen. UI
// thread.
#pragma once

#include <QDialog>
#include <QLayout>
#include <QScrollArea>
#include <QSize>

namespace mav {

// The room a dialog has on the smallest screen once a window manager has framed it.
inline constexpr QSize kDialogRoom{792, 570};

// `content` in a borderless scroll area that asks for the room to show all of it.
QScrollArea* scrolled(QLayout* content);

// The size the dialog asks for, as far as the room allows.
void fit_to_room(QDialog& dialog);

}  // namespace mav
