// The automatic saves kept over time, beside the two slot files that only ever hold the latest:
// each periodic save whose bytes differ from the newest kept one becomes a file of its own named
// after its time (UTC, "YYYYMMDD-HHMMSS.mmm.mav"), so the names sort by time. The newest
// kHistoryKept are kept and older ones removed. Files of any other name are left alone. Written
// on the worker thread, listed on the UI thread: files are replaced whole, and a file removed
// while it is listed reads as unopened.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace mav {

inline constexpr std::size_t kHistoryKept = 200;
inline constexpr const char* kHistoryFolderName = "History";

using HistoryTime = std::chrono::system_clock::time_point;

struct HistoryFile {
  std::filesystem::path file;
  HistoryTime when;
};

class ConfigurationHistory {
 public:
  explicit ConfigurationHistory(std::filesystem::path folder);

  // Keeps bytes as the newest file, made at `when`, unless the newest already holds the same
  // bytes. False when it could not be written.
  bool Record(std::span<const std::uint8_t> bytes, HistoryTime when);
  // Oldest first.
  std::vector<HistoryFile> Files() const;
  const std::filesystem::path& folder() const { return folder_; }

 private:
  bool same_as_newest(std::span<const std::uint8_t> bytes,
                      const std::vector<HistoryFile>& files) const;
  void remove_oldest(std::vector<HistoryFile> files) const;

  std::filesystem::path folder_;
};

// The file name of a time, and the time of a history file name (nothing for any other name).
std::string HistoryFileName(HistoryTime when);
std::optional<HistoryTime> HistoryTimeOfName(const std::string& name);

}  // namespace mav
