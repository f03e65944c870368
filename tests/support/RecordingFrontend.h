// A Frontend that records what the core asked the screen to show, for assertions. Any thread may
// record while the test thread reads.
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
  struct Move {
    int port;
    int from_net;
    int to_net;
    bool operator==(const Move&) const = default;
  };

  void show_status_text(std::string_view text) override { add(status_texts_, std::string(text)); }
  void show_message(std::string_view text) override { add(messages_, std::string(text)); }
  void show_message_box(const MessageBoxRequest& box) override { add(boxes_, box); }
  void update_title() override { ++title_updates_; }
  void link_state_changed() override { ++link_state_changes_; }
  void request_repaint() override { ++repaints_; }
  void start_move(int port, int from_net, int to_net) override {
    add(moves_, Move{port, from_net, to_net});
  }
  void play_sound(std::string_view file_name) override { add(sounds_, std::string(file_name)); }
  void set_cursor(CursorShape shape) override { cursor_ = shape; }
  void set_menu_check(int command_id, bool checked) override {
    add(menu_checks_, std::pair(command_id, checked));
  }
  void refresh_settings_dialog(int) override { ++dialog_refreshes_; }

  std::vector<std::string> status_texts() const { return copy(status_texts_); }
  std::string last_status_text() const { return last(status_texts_); }
  std::vector<std::string> messages() const { return copy(messages_); }
  std::string last_message() const { return last(messages_); }
  std::vector<MessageBoxRequest> boxes() const { return copy(boxes_); }
  std::vector<Move> moves() const { return copy(moves_); }
  std::vector<std::string> sounds() const { return copy(sounds_); }
  std::vector<std::pair<int, bool>> menu_checks() const { return copy(menu_checks_); }
  int title_updates() const { return title_updates_.load(); }
  int link_state_changes() const { return link_state_changes_.load(); }
  int repaints() const { return repaints_.load(); }
  CursorShape cursor() const { return cursor_.load(); }
  int dialog_refreshes() const { return dialog_refreshes_.load(); }

 private:
  template <typename T>
  void add(std::vector<T>& list, T item) {
    std::lock_guard lock(mutex_);
    list.push_back(std::move(item));
  }
  template <typename T>
  std::vector<T> copy(const std::vector<T>& list) const {
    std::lock_guard lock(mutex_);
    return list;
  }
  std::string last(const std::vector<std::string>& list) const {
    std::lock_guard lock(mutex_);
    return list.empty() ? std::string() : list.back();
  }

  mutable std::mutex mutex_;
  std::vector<std::string> status_texts_, messages_, sounds_;
  std::vector<MessageBoxRequest> boxes_;
  std::vector<Move> moves_;
  std::vector<std::pair<int, bool>> menu_checks_;
  std::atomic<int> title_updates_{0}, link_state_changes_{0}, repaints_{0}, dialog_refreshes_{0};
  std::atomic<CursorShape> cursor_{CursorShape::Arrow};
};

}  // namespace mav::test
