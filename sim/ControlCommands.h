// The simulator's control language: one command per line, from stdin, the control port, the
// script file or demo mode. A command raises an event, sets a fault or asks for an action of the
// loop; the outcome says what to send and how to answer. Single-threaded.
#pragma once

#include <string>
#include <string_view>

#include "Faults.h"
#include "Gateway.h"

namespace mav::sim {

struct ControlOutcome {
  std::string response;     // "ok", "ok <detail>" or "error: <why>"
  Lines lines;              // gateway lines for every peer, without carriage returns
  std::string raw;          // bytes for every peer exactly as they are
  bool close_peer = false;  // drop the network client
  bool quit = false;        // end the simulator
};

ControlOutcome run_control(std::string_view command, Gateway& gateway, FaultState& faults);

// The help text listing every control command, one per line.
std::string_view control_help();

}  // namespace mav::sim
