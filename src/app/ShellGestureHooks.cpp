#include "app/ShellGestureHooks.h"

namespace mav {

GesturePreferences ShellGestureHooks::gesture_preferences() const {
  const Preferences prefs = app_.preferences();
  return {prefs.right_button_disconnects, prefs.auto_indicator_switching, prefs.hover_descriptions};
}

bool ShellGestureHooks::confirm(const MessageBoxRequest& question) {
  return window_ != nullptr && window_->ask_yes_no(question);
}

void ShellGestureHooks::open_module_settings(int port, bool mark_open) {
  if (check_ && !check_->confirm_password(Guard::ModuleSettings)) return;
  if (window_) window_->open_module_settings(port, mark_open);
}

}  // namespace mav
