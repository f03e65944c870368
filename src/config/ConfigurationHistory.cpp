#include "config/ConfigurationHistory.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

#include "model/ConfigFile.h"
#include "platform/AtomicFile.h"

namespace mav {
namespace {

using namespace std::chrono;

constexpr std::size_t kNameLength = 23;  // "YYYYMMDD-HHMMSS.mmm.mav"
constexpr const char* kNamePattern = "dddddddd-dddddd.ddd.mav";

}  // namespace

std::string HistoryFileName(HistoryTime when) {
  const auto ms = floor<milliseconds>(when);
  const auto day = floor<days>(ms);
  const year_month_day date{day};
  const hh_mm_ss<milliseconds> time{ms - day};
  char name[32];
  std::snprintf(name, sizeof name, "%.4d%.2u%.2u-%.2d%.2d%.2d.%.3d.mav",
                static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                static_cast<unsigned>(date.day()), static_cast<int>(time.hours().count()),
                static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()),
                static_cast<int>(time.subseconds().count()));
  return name;
}

std::optional<HistoryTime> HistoryTimeOfName(const std::string& name) {
  if (name.size() != kNameLength) return std::nullopt;
  for (std::size_t i = 0; i < kNameLength; ++i) {
    const bool digit = std::isdigit(static_cast<unsigned char>(name[i])) != 0;
    if ((kNamePattern[i] == 'd') != digit || (!digit && name[i] != kNamePattern[i])) {
      return std::nullopt;
    }
  }
  const auto number = [&name](std::size_t at, std::size_t length) {
    return std::stoi(name.substr(at, length));
  };
  const year_month_day date{year{number(0, 4)}, month{static_cast<unsigned>(number(4, 2))},
                            day{static_cast<unsigned>(number(6, 2))}};
  if (!date.ok()) return std::nullopt;
  return sys_days{date} + hours{number(9, 2)} + minutes{number(11, 2)} + seconds{number(13, 2)} +
         milliseconds{number(16, 3)};
}

ConfigurationHistory::ConfigurationHistory(std::filesystem::path folder)
    : folder_(std::move(folder)) {}

std::vector<HistoryFile> ConfigurationHistory::Files() const {
  std::vector<HistoryFile> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder_, error)) {
    const std::string name = entry.path().filename().string();
    if (const auto when = HistoryTimeOfName(name); when && entry.is_regular_file(error)) {
      files.push_back({entry.path(), *when});
    }
  }
  std::sort(files.begin(), files.end(),
            [](const HistoryFile& a, const HistoryFile& b) { return a.file < b.file; });
  return files;
}

bool ConfigurationHistory::same_as_newest(std::span<const std::uint8_t> bytes,
                                          const std::vector<HistoryFile>& files) const {
  if (files.empty()) return false;
  const auto newest = read_whole_file(files.back().file, kConfigFileSize + 1);
  return newest && std::equal(newest->begin(), newest->end(), bytes.begin(), bytes.end());
}

void ConfigurationHistory::remove_oldest(std::vector<HistoryFile> files) const {
  for (std::size_t i = 0; i + kHistoryKept < files.size(); ++i) {
    std::error_code ignored;
    std::filesystem::remove(files[i].file, ignored);
  }
}

bool ConfigurationHistory::Record(std::span<const std::uint8_t> bytes, HistoryTime when) {
  std::vector<HistoryFile> files = Files();
  if (same_as_newest(bytes, files)) return true;
  make_private_folder(folder_);
  // A clock set back must not put the newest save before older ones, nor two saves of one
  // millisecond in one file.
  if (!files.empty() && when <= files.back().when) when = files.back().when + milliseconds{1};
  const std::filesystem::path file = folder_ / HistoryFileName(when);
  if (!write_file_atomically(file, bytes, 0600)) return false;  // the PIN table is inside
  files.push_back({file, when});
  remove_oldest(std::move(files));
  return true;
}

}  // namespace mav
