// Keeps the link to the gateway alive without anyone at the console: the network socket's
// notifications, the retries after the gateway closed the connection (see Reconnection) and the
// 30-second keep-alive tick. Both the pause before a retry and the tick run on the host's thread
// through its RunLater. UI thread.
#pragma once

#include <cstdint>

#include "config/ConfigParts.h"
#include "engine/ConnectionHooks.h"
#include "engine/ContactSupervisor.h"
#include "engine/Reconnection.h"
#include "frontend/Frontend.h"
#include "link/LinkChannel.h"
#include "log/EventLog.h"
#include "platform/Clock.h"
#include "platform/SocketEvents.h"

namespace mav {

// Runs a call later on the host's thread (the host's event loop keeps going meanwhile).
using RunLater = ReplayPause;

inline constexpr std::uint32_t kKeepAliveIntervalMs = 30000;

struct LinkKeeperParts {
  const Clock& clock;
  LinkChannel& link;
  EventLog& log;
  Frontend& frontend;
  ContactSupervisor& contact;
  RunLater run_later;
};

class LinkKeeper final : public SocketEvents {
 public:
  explicit LinkKeeper(LinkKeeperParts parts);

  // Who reopens a dropped connection; until then a drop only closes the channel.
  void attach(ConnectionHooks& hooks) { hooks_ = &hooks; }

  void on_socket_read() override;
  void on_socket_connected() override;
  void on_socket_closed() override;
  void on_connect_timeout() override;
  // Otherwise the connection timer reports it, 15.5 s after the open.
  void on_connect_refused() override;

  // The operator chose a connection: no more retries of the one that dropped.
  void stop_reconnecting();
  // The retry under way or coming next after a drop; 0 when not retrying.
  int reconnect_attempt() const { return reconnect_.attempt(); }
  // Milliseconds until that retry starts; 0 when none waits.
  std::uint32_t next_attempt_in_ms() const;

  // The keep-alive tick every 30 seconds until stopped.
  void start_keepalive();
  void stop_keepalive() { ++keepalive_runs_; }

 private:
  void reconnect_now();
  void reconnect_failed();
  void keepalive_tick(std::uint64_t run);

  LinkKeeperParts p_;
  ConnectionHooks* hooks_ = nullptr;
  Reconnection reconnect_;
  // A pause or tick scheduled before the last stop finds its number outdated and does nothing.
  std::uint64_t retry_pauses_ = 0;
  std::uint64_t keepalive_runs_ = 0;
  bool pause_running_ = false;
  std::uint32_t retry_due_ms_ = 0;
};

}  // namespace mav
