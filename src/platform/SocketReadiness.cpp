#include "platform/SocketReadiness.h"

#include <sys/socket.h>

#include <cerrno>

namespace mav {

ReadReadiness probe_readable(int fd) {
  char first = 0;
  const ssize_t peeked = ::recv(fd, &first, 1, MSG_PEEK | MSG_DONTWAIT);
  if (peeked > 0) return ReadReadiness::Data;
  if (peeked == 0) return ReadReadiness::PeerClosed;
  if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) return ReadReadiness::Nothing;
  return ReadReadiness::Broken;
}

bool connect_succeeded(int fd) {
  int error = 0;
  socklen_t length = sizeof error;
  return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

}  // namespace mav
