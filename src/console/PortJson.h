// Reading the service's ports and nets back into records: the inverse of port_json and nets_json.
// A line from the network is trusted for nothing: whatever is missing, of another type or out of
// range leaves the records as they were, and nothing throws.
#pragma once

#include <nlohmann/json.hpp>

#include "model/PortRecord.h"
#include "service/ControlMessages.h"

namespace mav {

// One port as the snapshot and port events show it, onto its record (fields the line does not
// carry stay) and its lock's owner. Returns the port, or -1 having changed nothing.
int read_port_json(const nlohmann::json& value, PortRecord (&records)[kPortCount],
                   LockOwners& locks);

// The list of occupied nets: each listed port takes its net and bus, a port that is in no listed
// net leaves its net. False, having changed nothing, when the list is malformed.
bool read_nets_json(const nlohmann::json& value, PortRecord (&records)[kPortCount]);

}  // namespace mav
