// The command side of the gateway protocol: the start-up synchronisation and the two settings
// sweeps. Every line goes through the LineSender expecting a reply.
#pragma once

#include "link/LineSender.h"
#include "protocol/SessionState.h"

namespace mav {

class DeviceCommands {
 public:
  DeviceCommands(LineSender& sender, const SessionState& state) : sender_(sender), state_(state) {}

  // The 14 lines that bring the model in step with the gateway; the COR and PTT lines follow
  // the reporting preferences. Any thread (the shell at start-up, the dispatcher later).
  void synchronise();

  // "<KEYWORD> ALL ?\r" for a keyword index; nothing for an index outside the keyword table.
  // Any thread.
  void query_all(int keyword_index);

  // The gateway-wide settings sweep (41 lines) sent after every SYSTEM reply. Any thread.
  void query_all_settings();

  // The settings queries for the module type that sits in a port; none for the handset module
  // or an unknown type, and none for a port outside 0..25. Any thread.
  void query_port_settings(int port, int mod_type);

 private:
  void send(const char* line);

  LineSender& sender_;
  const SessionState& state_;
};

}  // namespace mav
