// The program's two own cursors, drawn rather than loaded: "SelectedCursor" (a port or net is
// selected and waits for its partner) and "WaitCursor" (gateway replies are being processed).
// UI thread.
#pragma once

#include <QCursor>

namespace mav {

struct ProgramCursors {
  QCursor selected;
  QCursor wait;
};

ProgramCursors draw_program_cursors();

}  // namespace mav
