// What the gesture code decides about the picture: monitor mode, the corner switch and the hover
// box. The UI thread owns it (the matrix widget holds one); painting reads it.
#pragma once

namespace mav {

struct MatrixViewState {
  int monitor_mode_port = -1;  // port whose monitor list is edited; -1 outside monitor mode
  bool corner_switch = false;  // the corner image is drawn while this is false
  bool hover_shown = false;    // a hover box is to be drawn for hover_port
  int hover_port = 0;
};

}  // namespace mav
