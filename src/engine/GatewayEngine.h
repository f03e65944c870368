// The assembled core that owns one gateway: the model, the link with its worker thread and reply
// dispatcher, the configuration files, the settings writer, the PIN table, the protocol trace, the
// event log, and what keeps a network link alive (contact supervision, retries after a drop, the
// keep-alive tick). No screen of its own: the controller hosts it beside its window, a headless
// service with its EventLoop. Built in two steps, because the hooks the host gives (its shell, port
// view, dialling) are themselves made from the engine's parts. UI thread (the host's) unless a
// member says otherwise.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "config/ConfigurationFiles.h"
#include "engine/ConnectionHooks.h"
#include "engine/ContactSupervisor.h"
#include "engine/LinkKeeper.h"
#include "link/LineReader.h"
#include "link/LinkChannel.h"
#include "link/WorkerLoop.h"
#include "log/EventLog.h"
#include "matrix/ConnectionActions.h"
#include "matrix/CustomIcons.h"
#include "model/DeviceModel.h"
#include "model/PendingTable.h"
#include "modules/SettingsWriter.h"
#include "platform/Clock.h"
#include "platform/ProgramFolders.h"
#include "platform/SocketEvents.h"
#include "protocol/DeviceCommands.h"
#include "protocol/ReplyDispatcher.h"
#include "protocol/SessionHooks.h"
#include "protocol/SessionState.h"
#include "security/PinTable.h"
#include "trace/ProtocolTrace.h"

namespace mav {

// What the host gives from the start; each outlives the engine.
struct EngineHost {
  const Clock& clock;
  Frontend& frontend;  // any thread; never waits for the operator
  ProgramFolders folders;
  RunLater run_later;  // the replays' pause, the retry pause and the keep-alive tick
  CustomIcons& icons;  // where a loaded configuration's custom icons go
};

// What the host gives once it has built it from the engine's parts; each outlives the engine.
struct EngineHooks {
  ShellHooks& shell;
  PortViewHooks& port_view;
  DialHooks& dial;
  ConnectionHooks& connection;
  SocketEventHost& sockets;  // watches the network socket; it calls socket_events()
};

class GatewayEngine {
 public:
  explicit GatewayEngine(EngineHost host);
  GatewayEngine(const GatewayEngine&) = delete;
  GatewayEngine& operator=(const GatewayEngine&) = delete;
  // Stops the worker and closes the channel.
  ~GatewayEngine();

  // The second step, once, before anything opens or starts.
  void attach(const EngineHooks& hooks);

  // Opens the channel and synchronises with the gateway; false when it cannot be opened (a
  // network connect that fails later is reported by the link). An open channel closes first; the
  // retries after a drop go on, since each of them opens through here.
  bool open_network(const std::uint8_t (&address)[4], std::uint16_t port);
  bool open_serial(const std::string& device, std::uint32_t baud);
  // Ends the retries after a drop and closes the channel.
  void close();
  // The worker thread and the keep-alive tick.
  void start();
  void stop();
  bool running() const { return worker_ && worker_->running(); }

  // Where the host's socket watch delivers the network socket's notifications.
  SocketEvents& socket_events() { return keeper_; }
  // The parts a matrix gesture's connect and disconnect actions work with.
  ActionParts action_parts(GestureHooks& hooks);

  const Clock& clock() const { return clock_; }
  Frontend& frontend() { return frontend_; }
  const ProgramFolders& folders() const { return folders_; }
  DeviceModel& model() { return model_; }
  const DeviceModel& model() const { return model_; }
  EventLog& log() { return log_; }
  SessionState& session() { return session_; }
  const SessionState& session() const { return session_; }
  PinTable& pins() { return pins_; }
  PendingTable& pending() { return pending_; }
  ProtocolTrace& trace() { return trace_; }
  ContactSupervisor& contact() { return contact_; }
  LinkChannel& link() { return link_; }
  const LinkChannel& link() const { return link_; }
  LinkKeeper& keeper() { return keeper_; }
  DeviceCommands& commands() { return commands_; }
  SettingsWriter& settings_writer() { return settings_writer_; }
  ConfigurationFiles& configurations() { return configurations_; }

 private:
  const Clock& clock_;
  Frontend& frontend_;
  const ProgramFolders folders_;
  DeviceModel model_;
  EventLog log_;
  SessionState session_;
  PinTable pins_;
  PendingTable pending_;
  ProtocolTrace trace_;
  ContactSupervisor contact_;
  LinkChannel link_;
  LineReader reader_;
  DeviceCommands commands_;
  SettingsWriter settings_writer_;
  ConfigurationFiles configurations_;
  LinkKeeper keeper_;
  std::unique_ptr<ReplyDispatcher> dispatcher_;
  std::unique_ptr<WorkerLoop> worker_;
};

}  // namespace mav
