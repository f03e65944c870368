// Events the gateway raises on its own: activity, connections made and broken elsewhere, PIN
// use, module removal and insertion, a restart, a busy report, hook changes and the relay image.
// Each changes the model and returns the lines to send, or an error text for the operator of
// the simulator. Single-threaded.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Gateway.h"

namespace mav::sim {

struct EventResult {
  Lines lines;        // without carriage returns; sent even with an error (what did happen)
  std::string error;  // empty when the event was raised in full
};

// "%COR_LED hhhh llll E0" (or PTT_LED, RING_LED); nothing is sent while reporting is off. A line
// that starts ringing with AUTO_ANS on answers: "%ON_HOOK pp OFF E0".
EventResult activity_event(GatewayModel& model, Indicator which, std::uint32_t mask);
// "%CONNECT pp qq ... E0": each other port in turn joined to the port (moved onto its bus), up to
// the first refusal. This and the DISC and removal events add "%DISCH pp E0" for a port left
// alone in its DISCH group.
EventResult connect_event(GatewayModel& model, int port, const std::vector<int>& others);
// "%DISC pp E0", or "%DISC ALL E0" for port kNone.
EventResult disc_event(GatewayModel& model, int port);
// "%PIN_ACTIVITY ff tt pppp E<s>"; without a forced status the gateway judges the PIN (0, 17, 18).
EventResult pin_event(GatewayModel& model, int from, int to, int pin, std::optional<int> forced);
// "%BOOT pp E14" and "%BOOT pp E15".
EventResult remove_event(GatewayModel& model, int port);
EventResult insert_event(GatewayModel& model, int port, int mod_type);
// "%BOOT 00 E0" after the restart of GatewayModel::restart, then "%COR_LED 0000 0000 E0" (and
// PTT_LED, RING_LED) for each reported activity the restart ended.
EventResult restart_event(GatewayModel& model);
// "%ON_HOOK pp ON|OFF E0" for a telephone-line or local-phone port.
EventResult hook_event(GatewayModel& model, int port, bool on_hook);
// "%RELAY" and the gateway's relay image.
EventResult relay_event(const GatewayModel& model);

}  // namespace mav::sim
