// One byte-stream peer of the gateway side: the network client or the pseudo-terminal. Owns the
// descriptor (non-blocking), frames received bytes into command lines and keeps the bytes still
// to be sent, each batch with the time it may leave (the slow-answer fault delays them).
// Single-threaded.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "LineFramer.h"

namespace mav::sim {

class PeerStream {
 public:
  PeerStream(int fd, std::string channel);
  ~PeerStream();
  PeerStream(const PeerStream&) = delete;
  PeerStream& operator=(const PeerStream&) = delete;

  int fd() const { return fd_; }
  const std::string& channel() const { return channel_; }

  // Reads what is waiting and appends the completed lines; false once the peer has gone.
  bool read_lines(std::vector<LineFramer::Line>& out);

  // Queues bytes to leave no earlier than due_ms and after everything queued before them.
  // Beyond 8 MB waiting, bytes are dropped (the peer is not reading) and false is returned.
  bool queue(std::string bytes, std::uint64_t due_ms);

  // Writes whatever is due; false when the peer can no longer be written to.
  bool flush(std::uint64_t now_ms);

  // Whether bytes are ready to be written now, and when the next delayed ones fall due.
  bool wants_write(std::uint64_t now_ms) const;
  std::optional<std::uint64_t> next_due() const;

 private:
  int fd_;
  std::string channel_;
  LineFramer framer_{'\r'};
  std::deque<std::pair<std::uint64_t, std::string>> delayed_;
  std::string writing_;
  std::size_t waiting_bytes_ = 0;
};

}  // namespace mav::sim
