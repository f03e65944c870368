// The operator's side of the gestures and the password check: answers given by script, and what
// was asked, guarded and opened kept.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "matrix/MatrixGestures.h"

namespace mav::test {

class OperatorHooks final : public GestureHooks, public PasswordCheck {
 public:
  GesturePreferences gesture_preferences() const override { return prefs; }
  bool confirm(const MessageBoxRequest& question) override {
    questions.push_back(question.text);
    return answer_yes;
  }
  void open_module_settings(int port, bool mark_open) override {
    settings_opened.emplace_back(port, mark_open);
  }
  void save_snapshot_before_bulk_change() override { ++snapshots; }
  bool confirm_password(Guard guard) override {
    guards.push_back(guard);
    return unlocked;
  }

  GesturePreferences prefs;
  bool answer_yes = true, unlocked = true;
  std::vector<std::string> questions;
  std::vector<Guard> guards;
  std::vector<std::pair<int, bool>> settings_opened;
  int snapshots = 0;
};

}  // namespace mav::test
