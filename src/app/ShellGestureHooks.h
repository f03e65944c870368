// What the matrix gestures ask of the shell: the operator's preferences, the main window's
// questions and module settings dialog behind the settings password, and the snapshot that the
// configuration files keep before Connect All and Disconnect All. UI thread.
#pragma once

#include "app/Application.h"
#include "app/ShellWindow.h"
#include "config/ConfigurationFiles.h"
#include "matrix/GestureHooks.h"
#include "security/PasswordRules.h"

namespace mav {

class ShellGestureHooks final : public GestureHooks {
 public:
  ShellGestureHooks(const Application& app, ConfigurationFiles& files) : app_(app), files_(files) {}

  // The window and the password check, once they exist; until then nothing is asked or opened.
  void attach(ShellWindow& window, PasswordCheck& check) {
    window_ = &window;
    check_ = &check;
  }

  GesturePreferences gesture_preferences() const override;
  bool confirm(const MessageBoxRequest& question) override;
  void open_module_settings(int port, bool mark_open) override;
  void save_snapshot_before_bulk_change() override { files_.SaveSnapshot(); }

 private:
  const Application& app_;
  ConfigurationFiles& files_;
  ShellWindow* window_ = nullptr;
  PasswordCheck* check_ = nullptr;
};

}  // namespace mav
