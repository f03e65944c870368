#include "log/EventLog.h"

#include <cstdio>
#include <memory>
#include <system_error>
#include <utility>

namespace mav {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

EventLog::EventLog(std::filesystem::path log_directory, const Clock& clock)
    : log_directory_(std::move(log_directory)), clock_(clock), recent_(kRecentSlots) {}

void EventLog::write_log_entry(std::string_view message) {
  if (!append_entry(message)) return;
  if (listener_) listener_(message);
}

bool EventLog::append_entry(std::string_view message) {
  std::lock_guard lock(mutex_);
  if (message == last_message_) return false;
  last_message_.assign(message);

  const std::filesystem::path path = path_locked();
  std::error_code ignored;
  std::filesystem::create_directories(log_directory_, ignored);
  const FileHandle file(std::fopen(path.c_str(), "a+"));
  if (!file) return false;

  std::string line = time_stamp();
  line.append(message);
  line.push_back('\n');
  std::fwrite(line.data(), 1, line.size(), file.get());

  if (line.size() > kRecentLineLimit) line.resize(kRecentLineLimit);
  recent_[static_cast<std::size_t>(recent_index_)] = std::move(line);
  recent_index_ = (recent_index_ + 1) % kRecentSlots;
  return true;
}

void EventLog::set_log_file_name(std::string name) {
  if (name.size() > kFileNameLimit) name.resize(kFileNameLimit);
  std::lock_guard lock(mutex_);
  log_file_name_ = std::move(name);
}

std::string EventLog::log_file_name() const {
  std::lock_guard lock(mutex_);
  return log_file_name_;
}

std::filesystem::path EventLog::log_file_path() const {
  std::lock_guard lock(mutex_);
  return path_locked();
}

std::vector<std::string> EventLog::recent_entries() const {
  std::lock_guard lock(mutex_);
  return recent_;
}

int EventLog::recent_index() const {
  std::lock_guard lock(mutex_);
  return recent_index_;
}

std::vector<std::string> EventLog::recent_newest_first() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> entries;
  for (int back = 1; back <= kRecentSlots; ++back) {
    const std::string& entry =
        recent_[static_cast<std::size_t>((recent_index_ - back + kRecentSlots) % kRecentSlots)];
    if (!entry.empty()) entries.push_back(entry);
  }
  return entries;
}

std::filesystem::path EventLog::path_locked() const {
  const std::filesystem::path name(log_file_name_);
  return name.is_absolute() ? name : log_directory_ / name;
}

std::string EventLog::time_stamp() const {
  const LocalTime now = clock_.local_time();
  char stamp[96];  // room for six full-width ints from a broken clock
  std::snprintf(stamp, sizeof stamp, "%.2d/%.2d/%.4d  %.2d:%.2d:%.2d  ", now.month, now.day,
                now.year, now.hour, now.minute, now.second);
  return stamp;
}

}  // namespace mav
