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

void Application::attach_configurations(ConfigurationFiles& files) {
  configurations_ = &files;
}

void Application::save_snapshot_before_bulk_change() {
  if (configurations_) configurations_->SaveSnapshot();
}

}  // namespace mav
