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

// Until the module settings dialogs, the configuration files and the password protection bring
// their own, these answer with nothing to open, nothing to save and no password to ask.
void Application::open_module_settings(int, bool) {}
void Application::save_snapshot_before_bulk_change() {}
bool Application::permanent_connections_unlocked() {
  return true;
}

}  // namespace mav
