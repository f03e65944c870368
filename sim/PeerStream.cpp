#include "PeerStream.h"

#include <unistd.h>
#include <cerrno>

namespace mav::sim {
namespace {
constexpr std::size_t kMaxWaitingBytes = 8u << 20;
}

PeerStream::PeerStream(int fd, std::string channel) : fd_(fd), channel_(std::move(channel)) {}

PeerStream::~PeerStream() {
  if (fd_ >= 0) close(fd_);
}

bool PeerStream::read_lines(std::vector<LineFramer::Line>& out) {
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(fd_, buffer, sizeof buffer);
    if (got > 0) {
      framer_.feed(std::string_view(buffer, static_cast<std::size_t>(got)), out);
      continue;
    }
    if (got < 0 && errno == EINTR) continue;
    return got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
  }
}

bool PeerStream::queue(std::string bytes, std::uint64_t due_ms) {
  if (waiting_bytes_ + bytes.size() > kMaxWaitingBytes) return false;
  waiting_bytes_ += bytes.size();
  delayed_.emplace_back(due_ms, std::move(bytes));
  return true;
}

bool PeerStream::flush(std::uint64_t now_ms) {
  while (!delayed_.empty() && delayed_.front().first <= now_ms) {
    writing_ += delayed_.front().second;
    delayed_.pop_front();
  }
  while (!writing_.empty()) {
    const ssize_t put = write(fd_, writing_.data(), writing_.size());
    if (put < 0 && errno == EINTR) continue;
    if (put < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
    if (put <= 0) return false;
    writing_.erase(0, static_cast<std::size_t>(put));
    waiting_bytes_ -= static_cast<std::size_t>(put);
  }
  return true;
}

bool PeerStream::wants_write(std::uint64_t now_ms) const {
  return !writing_.empty() || (!delayed_.empty() && delayed_.front().first <= now_ms);
}

std::optional<std::uint64_t> PeerStream::next_due() const {
  if (delayed_.empty()) return std::nullopt;
  return delayed_.front().first;
}

}  // namespace mav::sim
