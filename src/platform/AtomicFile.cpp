#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace mav {
namespace {

bool write_all(int fd, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) return false;
    bytes = bytes.subspan(static_cast<std::size_t>(written));
  }
  return true;
}

// The file a chain of symbolic links ends at (which need not exist yet); the file itself when it is
// no link. Nothing when a link cannot be read or the chain does not end.
std::optional<std::filesystem::path> link_target(std::filesystem::path file) {
  constexpr int kMostLinks = 40;  // as the system's own limit on a path's links
  for (int hops = 0; hops < kMostLinks; ++hops) {
    std::error_code error;
    if (!std::filesystem::is_symlink(file, error)) return file;
    const std::filesystem::path next = std::filesystem::read_symlink(file, error);
    if (error) return std::nullopt;
    file = next.is_absolute() ? next : file.parent_path() / next;
  }
  return std::nullopt;
}

// An existing file without any write permission is read-only even to a privileged process.
bool read_only(const std::filesystem::path& file) {
  struct stat status {};
  if (::stat(file.c_str(), &status) != 0) return false;
  return (status.st_mode & 0222) == 0 || ::access(file.c_str(), W_OK) != 0;
}

}  // namespace

bool write_file_atomically(const std::filesystem::path& link, std::span<const std::uint8_t> bytes,
                           mode_t mode) {
  const std::optional<std::filesystem::path> target = link_target(link);
  if (!target || read_only(*target)) return false;
  const std::filesystem::path& file = *target;
  std::filesystem::path temporary = file;
  temporary += ".tmp";
  // A temporary file left over from an interrupted write would keep its old permission bits:
  // the new one is always made afresh.
  ::unlink(temporary.c_str());
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  if (fd < 0) return false;
  const bool written = write_all(fd, bytes) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || std::rename(temporary.c_str(), file.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

bool make_private_folder(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return !error && ::chmod(folder.c_str(), 0700) == 0;
}

std::optional<std::vector<std::uint8_t>> read_whole_file(const std::filesystem::path& file,
                                                         std::size_t limit) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  std::uint8_t chunk[16384];
  while (bytes.size() < limit) {
    const ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got <= 0) break;
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  ::close(fd);
  if (bytes.size() > limit) bytes.resize(limit);
  return bytes;
}

}  // namespace mav
