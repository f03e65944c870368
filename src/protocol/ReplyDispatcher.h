// The worker loop's dispatcher step: acts on the one parsed reply the LineReader hands over,
// updating the DeviceModel, the session state, the screen and the event log and sending the
// follow-up commands, and carries the loop's housekeeping (icon slides, selection time-out,
// automatic save, busy indication, deferred synchronisation) with the deadlines the loop wakes
// for. Worker thread only, apart from construction.
#pragma once

#include <cstdint>

#include "frontend/Frontend.h"
#include "link/DispatchStep.h"
#include "link/LineSender.h"
#include "link/ParsedReply.h"
#include "log/EventLog.h"
#include "model/DeviceModel.h"
#include "model/PendingTable.h"
#include "platform/Clock.h"
#include "protocol/DeviceCommands.h"
#include "protocol/NetChanges.h"
#include "protocol/SessionHooks.h"
#include "protocol/SessionState.h"
#include "security/PinTable.h"

namespace mav {

// Everything the dispatcher reaches; each object outlives the dispatcher.
struct DispatcherParts {
  ParsedReply& reply;
  DeviceModel& model;
  PendingTable& pending;
  PinTable& pins;
  EventLog& log;
  LineSender& sender;
  Frontend& frontend;
  const Clock& clock;
  SessionState& state;
  SessionHooks hooks;
};

class ReplyDispatcher final : public DispatchStep {
 public:
  explicit ReplyDispatcher(const DispatcherParts& parts);

  // One pass: housekeeping, then at most one parsed reply. Worker thread.
  void dispatch_step() override;
  // The next slide frame while slides run, the selection time-out, the automatic save and the
  // end of the busy indication.
  void add_deadlines(NextWake& next) const override;

  // "RELAY " and the 32 connection bytes as lower-case hex, sent without expecting a reply.
  // Network channels only (the caller decides). Worker thread.
  void send_relay_state();

  // How often running slides move their icons.
  static constexpr std::uint32_t kSlideFrameMs = 10;
  static constexpr std::uint32_t kSelectionTimeoutMs = 15000;
  static constexpr std::uint32_t kAutoSaveIntervalMs = 60000;
  static constexpr std::uint32_t kInputSettleMs = 400;

 private:
  // How a handler leaves the step: with the busy indication, silently, or without even the
  // closing step.
  enum class Ending { Handled, Quiet, Abort };

  Ending handle(const ParsedReply& r);
  void closing_step();

  // System, module discovery, restart and busy.
  Ending on_system(const ParsedReply& r);
  Ending on_mod_type(const ParsedReply& r);
  Ending on_boot(const ParsedReply& r);

  // Connections, monitors and disconnects.
  Ending on_connect(const ParsedReply& r);
  Ending on_connect_s(const ParsedReply& r);
  Ending on_disc(const ParsedReply& r);
  Ending on_disc_s(const ParsedReply& r);
  Ending on_disch(const ParsedReply& r);
  Ending on_mon(const ParsedReply& r);
  Ending on_relay(const ParsedReply& r);
  void apply_connect_step(int port, PortRecord& record, const ParsedReply& r, bool& relay);
  // After DissolveBus: the port record anew, with the pending entry's partner kept.
  void reread_after_dissolve(int port, PortRecord& record);
  void apply_disch_step(int port, PortRecord& record, bool entry_found, bool& relay);
  void connect_to_partner(int port, PortRecord& record, std::uint32_t step);

  // Settings, indicators, PINs and dialling.
  Ending on_setting(const ParsedReply& r);
  Ending on_indicators(const ParsedReply& r);
  Ending on_pin(const ParsedReply& r);
  Ending on_del_pin(const ParsedReply& r);
  Ending on_pin_activity(const ParsedReply& r);
  Ending on_dial(const ParsedReply& r);

  void log_connection(int port, const ParsedReply& r);
  void play(const char* sound);
  void send_port_line(const char* keyword, int port, int other);

  DispatcherParts p_;
  DeviceCommands commands_;
  bool slides_running_ = false;
};

}  // namespace mav
