// The one rule by which every event host (the Qt shell's notifiers, the event loop when headless)
// reads a network socket's readiness, so both deliver the same SocketEvents. UI thread.
#pragma once

namespace mav {

enum class ReadReadiness {
  Data,        // bytes wait: deliver a read
  PeerClosed,  // the peer closed the connection in order: stop watching, deliver the close
  Broken,      // an error such as a reset: stop watching and deliver nothing; the loss shows
               // through the reply time-out
  Nothing,     // a spurious wake-up: keep watching
};

// What a read readiness of the connected socket fd means; looks without taking any byte.
ReadReadiness probe_readable(int fd);
// Whether the connect under way on fd, which reported itself done, succeeded.
bool connect_succeeded(int fd);

}  // namespace mav
