// The configuration requests and the menu commands the service runs for them: the same commands
// the controller's File and Options menus run, with the request answering their questions.
#pragma once

#include <optional>

#include "service/ControlMessages.h"

namespace mav {

// The menu command a configuration request runs; nothing for the other ops.
std::optional<int> configuration_command_of(ControlOp op);

// Whether the request replays a configuration to the gateway (a preview only lists its changes).
bool replays_configuration(const ControlRequest& request);

}  // namespace mav
