// A LineSender that keeps every line it is given, for byte-exact assertions.
#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "link/LineSender.h"

namespace mav::test {

class RecordingSender final : public LineSender {
 public:
  bool send_line(std::string_view text, bool expects_reply) override {
    std::lock_guard lock(mutex_);
    lines_.emplace_back(text);
    expects_reply_.push_back(expects_reply);
    return true;
  }
  std::vector<std::string> lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
  }
  std::vector<bool> expects_reply() const {
    std::lock_guard lock(mutex_);
    return expects_reply_;
  }
  void clear() {
    std::lock_guard lock(mutex_);
    lines_.clear();
    expects_reply_.clear();
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
  std::vector<bool> expects_reply_;
};

}  // namespace mav::test
