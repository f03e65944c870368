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

void Application::attach_password_check(PasswordCheck& check) {
  password_check_ = &check;
}

void Application::open_module_settings(int port, bool mark_open) {
  if (password_check_ && !password_check_->confirm_password(Guard::ModuleSettings)) return;
  if (window_) window_->open_module_settings(port, mark_open);
}

// Until the configuration files bring their own, this finds nothing to save.
void Application::save_snapshot_before_bulk_change() {}

}  // namespace mav
