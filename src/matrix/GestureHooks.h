// What the gesture code asks of the subsystems above it: the operator's preferences, a Yes/No
// question, and the work that belongs to the module settings and the configuration files. The
// application shell implements it. UI thread only; the question and the
// settings dialog wait for the operator.
#pragma once

#include "frontend/Frontend.h"
#include "matrix/MatrixGeometry.h"
#include "matrix/MatrixViewState.h"

namespace mav {

// The preferences the gestures follow, read afresh for every gesture.
struct GesturePreferences {
  bool right_button_disconnects = true;  // else the right button edits settings
  bool auto_indicator_switching = true;  // back to connect mode after a disconnection
  bool hover_descriptions = true;
};

class GestureHooks {
 public:
  virtual ~GestureHooks() = default;

  virtual GesturePreferences gesture_preferences() const = 0;
  // True for Yes.
  virtual bool confirm(const MessageBoxRequest& question) = 0;
  // The port's module settings dialog, behind the settings password; mark_open when it was
  // opened by clicking the selected port again.
  virtual void open_module_settings(int port, bool mark_open) = 0;
  // The model as it stands, saved as "Auto_CD.mav" before Connect All or Disconnect All.
  virtual void save_snapshot_before_bulk_change() = 0;
};

// The matrix on screen, as far as the gestures need it.
class MatrixView {
 public:
  virtual ~MatrixView() = default;
  // Screen size and column count of the last paint, for hit testing.
  virtual MatrixLayout layout() const = 0;
  // Monitor mode, corner switch and hover box as the gestures decided them; repaints.
  virtual void set_view_state(const MatrixViewState& view) = 0;
};

}  // namespace mav
