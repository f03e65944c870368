// A Frontend that records what the core asked the screen to show, for assertions.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "frontend/Frontend.h"

namespace mav::test {

class RecordingFrontend : public Frontend {
 public:
  void show_status_text(std::string_view text) override {
    std::lock_guard lock(mutex_);
    status_texts_.emplace_back(text);
  }
  void show_message(std::string_view text) override {
    std::lock_guard lock(mutex_);
    messages_.emplace_back(text);
  }
  void show_message_box(const MessageBoxRequest& box) override {
    std::lock_guard lock(mutex_);
    boxes_.push_back(box);
  }
  void update_title() override {
    std::lock_guard lock(mutex_);
    ++title_updates_;
  }
  void link_state_changed() override { ++link_state_changes_; }

  void request_repaint() override { ++repaints_; }
  void start_move(int port, int from_net, int to_net) override {
    std::lock_guard lock(mutex_);
    moves_.push_back(Move{port, from_net, to_net});
  }
  // Slides run while the test says so.
  bool animation_step() override { return sliding; }
  std::atomic<bool> sliding{false};
  void play_sound(std::string_view file_name) override {
    std::lock_guard lock(mutex_);
    sounds_.emplace_back(file_name);
  }
  void set_cursor(CursorShape shape) override { cursor_ = shape; }
  void set_menu_check(int command_id, bool checked) override {
    std::lock_guard lock(mutex_);
    menu_checks_.emplace_back(command_id, checked);
  }
  void refresh_settings_dialog(int) override { ++dialog_refreshes_; }

  struct Move {
    int port;
    int from_net;
    int to_net;
    bool operator==(const Move&) const = default;
  };

  std::vector<std::string> status_texts() const {
    std::lock_guard lock(mutex_);
    return status_texts_;
  }
  std::string last_status_text() const {
    std::lock_guard lock(mutex_);
    return status_texts_.empty() ? std::string() : status_texts_.back();
  }
  std::vector<std::string> messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
  }
  std::string last_message() const {
    std::lock_guard lock(mutex_);
    return messages_.empty() ? std::string() : messages_.back();
  }
  std::vector<MessageBoxRequest> boxes() const {
    std::lock_guard lock(mutex_);
    return boxes_;
  }
  int title_updates() const {
    std::lock_guard lock(mutex_);
    return title_updates_;
  }
  std::vector<Move> moves() const {
    std::lock_guard lock(mutex_);
    return moves_;
  }
  std::vector<std::string> sounds() const {
    std::lock_guard lock(mutex_);
    return sounds_;
  }
  std::vector<std::pair<int, bool>> menu_checks() const {
    std::lock_guard lock(mutex_);
    return menu_checks_;
  }
  int link_state_changes() const { return link_state_changes_.load(); }
  int repaints() const { return repaints_.load(); }
  CursorShape cursor() const { return cursor_.load(); }
  int dialog_refreshes() const { return dialog_refreshes_.load(); }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> status_texts_;
  std::vector<std::string> messages_;
  std::vector<MessageBoxRequest> boxes_;
  int title_updates_ = 0;
  std::vector<Move> moves_;
  std::vector<std::string> sounds_;
  std::vector<std::pair<int, bool>> menu_checks_;
  std::atomic<int> link_state_changes_{0};
  std::atomic<int> repaints_{0};
  std::atomic<CursorShape> cursor_{CursorShape::Arrow};
  std::atomic<int> dialog_refreshes_{0};
};

}  // namespace mav::test
