// One stream of screen calls made on two screens: the operator's, and one that follows it only
// while it is switched on (the control interface's clients, while the controller serves them).
// Any thread, as every Frontend.
#pragma once

#include <atomic>

#include "frontend/Frontend.h"

namespace mav {

class FrontendTee final : public Frontend {
 public:
  FrontendTee(Frontend& screen, Frontend& follower) : screen_(screen), follower_(follower) {}

  void follow(bool on) { following_ = on; }

  void show_status_text(std::string_view text) override {
    screen_.show_status_text(text);
    if (following_) follower_.show_status_text(text);
  }
  void show_message(std::string_view text) override {
    screen_.show_message(text);
    if (following_) follower_.show_message(text);
  }
  void show_message_box(const MessageBoxRequest& box) override {
    screen_.show_message_box(box);
    if (following_) follower_.show_message_box(box);
  }
  void withdraw_message_box(std::string_view text) override {
    screen_.withdraw_message_box(text);
    if (following_) follower_.withdraw_message_box(text);
  }
  void update_title() override {
    screen_.update_title();
    if (following_) follower_.update_title();
  }
  void link_state_changed() override {
    screen_.link_state_changed();
    if (following_) follower_.link_state_changed();
  }
  void request_repaint() override {
    screen_.request_repaint();
    if (following_) follower_.request_repaint();
  }
  void start_move(int port, int from_net, int to_net) override {
    screen_.start_move(port, from_net, to_net);
    if (following_) follower_.start_move(port, from_net, to_net);
  }
  void play_sound(std::string_view file_name) override {
    screen_.play_sound(file_name);
    if (following_) follower_.play_sound(file_name);
  }
  void set_cursor(CursorShape shape) override {
    screen_.set_cursor(shape);
    if (following_) follower_.set_cursor(shape);
  }
  void set_menu_check(int command_id, bool checked) override {
    screen_.set_menu_check(command_id, checked);
    if (following_) follower_.set_menu_check(command_id, checked);
  }
  void refresh_settings_dialog(int port) override {
    screen_.refresh_settings_dialog(port);
    if (following_) follower_.refresh_settings_dialog(port);
  }

 private:
  Frontend& screen_;
  Frontend& follower_;
  std::atomic<bool> following_{false};
};

}  // namespace mav
