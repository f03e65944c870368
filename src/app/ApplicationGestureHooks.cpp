// What the matrix gestures ask of the shell.
#include "app/Application.h"

namespace mav {

GesturePreferences Application::gesture_preferences() const {
  const Preferences prefs = prefs_.get();
  return {prefs.right_button_disconnects, prefs.auto_indicator_switching, prefs.hover_descriptions};
}

bool Application::confirm(const MessageBoxRequest& question) {
  return window_ != nullptr && window_->ask_yes_no(question);
}

// Until the module settings dialogs and the configuration files bring their own, these find
// nothing to open and nothing to save.
void Application::open_module_settings(int, bool) {}
void Application::save_snapshot_before_bulk_change() {}

}  // namespace mav
