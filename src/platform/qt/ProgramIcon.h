// The program's icon for its windows: the desktop theme's "mav-controller" once the package is
// installed, else the same picture drawn here, so a program run from its build folder has it too.
// UI thread.
#pragma once

#include <QIcon>

namespace mav {

QIcon program_icon();

}  // namespace mav
