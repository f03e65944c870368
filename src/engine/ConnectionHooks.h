// What the engine's handling of a dropped network connection asks of its host, which knows the
// connection in use (a stored site, or the one this run was started with) and what the operator
// sees of it. UI thread.
#pragma once

namespace mav {

class ConnectionHooks {
 public:
  virtual ~ConnectionHooks() = default;
  // The gateway closed the open connection: keep what belongs to its site before it goes.
  virtual void connection_dropped() = 0;
  // Open the connection in use again, as choosing it would.
  virtual void reopen_connection() = 0;
  // An attempt failed and the channel is closed until the next.
  virtual void reconnect_failed() = 0;
};

}  // namespace mav
