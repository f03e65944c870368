// The dated event log: one line per notable event, appended to the log file, and the last 30
// lines kept in a ring for the recent-log report. Both the user-interface thread and the worker
// thread write entries; one mutex covers each whole entry. Every member may be called from any
// thread.
#pragma once

#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"

namespace mav {

class EventLog {
 public:
  static constexpr int kRecentSlots = 30;
  static constexpr std::size_t kRecentLineLimit = 255;  // characters kept of each ring line
  static constexpr std::size_t kFileNameLimit = 259;    // characters kept of a log file name

  // log_directory is "<program dir>/Logs"; it is created when an entry needs it.
  EventLog(std::filesystem::path log_directory, const Clock& clock);

  // Appends "MM/DD/YYYY  hh:mm:ss  " + message + "\n" to the log file and the ring. A message
  // equal to the previous one is skipped; a log file that cannot be opened loses the entry
  // without a word to the caller.
  void write_log_entry(std::string_view message);
  // Told each entry written (without its time stamp), on the writer's thread and outside the
  // log's lock. Set before other threads write.
  void set_listener(std::function<void(std::string_view)> listener) {
    listener_ = std::move(listener);
  }

  // A bare name lives in the log directory; an absolute path is used as it is.
  void set_log_file_name(std::string name);
  std::string log_file_name() const;
  std::filesystem::path log_file_path() const;
  const std::filesystem::path& log_directory() const { return log_directory_; }

  // The ring in slot order (empty strings for unused slots) and the slot the next entry fills.
  std::vector<std::string> recent_entries() const;
  int recent_index() const;
  // The filled slots of the ring, the newest entry first.
  std::vector<std::string> recent_newest_first() const;

 private:
  // False when the entry repeats the last one or the file cannot be opened.
  bool append_entry(std::string_view message);
  std::filesystem::path path_locked() const;
  std::string time_stamp() const;

  const std::filesystem::path log_directory_;
  const Clock& clock_;
  std::function<void(std::string_view)> listener_;
  mutable std::mutex mutex_;
  std::string log_file_name_ = "MAVPCI1.log";
  std::string last_message_;
  std::vector<std::string> recent_;
  int recent_index_ = 0;
};

}  // namespace mav
