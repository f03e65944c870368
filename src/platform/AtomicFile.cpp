#include "platform/AtomicFile.h"

#include <fcntl.h>
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

}  // namespace

bool write_file_atomically(const std::filesystem::path& file, std::span<const std::uint8_t> bytes,
                           mode_t mode) {
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
