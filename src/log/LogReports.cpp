#include "log/LogReports.h"

#include <cstdio>
#include <memory>
#include <string_view>

namespace mav {
namespace {

constexpr std::string_view kColumnHeader =
    "Date        Time    Module   Action\n"
    "---------------------------------------------------------------------\n";

// A viewer or a virus scanner may hold a file for a moment: each open is tried a few times.
constexpr int kOpenAttempts = 10;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

FileHandle open_file(const std::filesystem::path& path, const char* mode) {
  for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
    if (std::FILE* file = std::fopen(path.c_str(), mode)) return FileHandle(file);
  }
  return nullptr;
}

void put(std::FILE* file, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), file);
}

}  // namespace

bool write_recent_report(const EventLog& log, const std::filesystem::path& report) {
  const FileHandle file = open_file(report, "w");
  if (!file) return false;
  put(file.get(), "Most recent entries appear first\n\n");
  put(file.get(), kColumnHeader);
  for (const std::string& entry : log.recent_newest_first()) put(file.get(), entry);
  return std::fflush(file.get()) == 0;
}

bool copy_entire_log(const EventLog& log, const std::filesystem::path& copy) {
  const FileHandle source = open_file(log.log_file_path(), "rb");
  const FileHandle target = open_file(copy, "wb");
  if (!source || !target) return false;
  char block[8192];
  std::size_t count = 0;
  while ((count = std::fread(block, 1, sizeof block, source.get())) > 0) {
    std::fwrite(block, 1, count, target.get());
  }
  return std::fflush(target.get()) == 0;
}

void start_new_log(EventLog& log, const std::string& path) {
  log.set_log_file_name(path);
  const FileHandle file = open_file(log.log_file_path(), "a+");
  if (file) put(file.get(), kColumnHeader);
}

}  // namespace mav
