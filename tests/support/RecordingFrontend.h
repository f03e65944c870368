// A Frontend that records what the core asked the screen to show, for assertions.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "app/Frontend.h"

namespace mav::test {

class RecordingFrontend : public Frontend {
 public:
  void show_status_text(std::string_view text) override {
    std::lock_guard lock(mutex_);
    status_texts_.emplace_back(text);
  }
  void show_message_box(const MessageBoxRequest& box) override {
    std::lock_guard lock(mutex_);
    boxes_.push_back(box);
  }
  void update_title() override {
    std::lock_guard lock(mutex_);
    ++title_updates_;
  }

  std::vector<std::string> status_texts() const {
    std::lock_guard lock(mutex_);
    return status_texts_;
  }
  std::string last_status_text() const {
    std::lock_guard lock(mutex_);
    return status_texts_.empty() ? std::string() : status_texts_.back();
  }
  std::vector<MessageBoxRequest> boxes() const {
    std::lock_guard lock(mutex_);
    return boxes_;
  }
  int title_updates() const {
    std::lock_guard lock(mutex_);
    return title_updates_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> status_texts_;
  std::vector<MessageBoxRequest> boxes_;
  int title_updates_ = 0;
};

}  // namespace mav::test
