// Who may do what on a shared gateway: a client's role and ports, and the locks other clients
// hold. The service asks these rules before a request reaches the engine, so a refused request
// sends nothing to the gateway. Plain functions over plain data, loop thread.
#pragma once

#include <bitset>
#include <optional>
#include <string>
#include <string_view>

#include "matrix/ConnectionActions.h"
#include "model/DeviceModel.h"
#include "service/ControlMessages.h"

namespace mav {

enum class Role { Viewer, Operator, Supervisor };
std::string_view role_word(Role role);
std::optional<Role> role_named(std::string_view word);

using PortSet = std::bitset<kPortCount>;
inline PortSet all_ports() {
  return PortSet().set();
}
// "0-7,9" and the like; nullopt for anything else (an empty text, a port past the last).
std::optional<PortSet> read_port_ranges(std::string_view text);
// The shortest such text: "0-7,9"; "all" for every port.
std::string port_ranges_text(const PortSet& ports);

struct ClientIdentity {
  std::string name;
  Role role = Role::Operator;
  PortSet ports = all_ports();
  bool manages_tokens = false;  // the tokens file's owner on this machine, whatever the role
};

// What a request asks, as the rules see it.
struct AccessRequest {
  ControlOp op;
  PortSet touched;  // the ports it names and the ports of any net it names or joins
  bool force = false;
  bool preview = false;
};

// The ports a request touches in this model: the ports it names, with the other ports of their
// nets and of the net it names or joins, since changing one port of a patch changes the patch;
// every port for the ops that act on all of them.
PortSet touched_ports(const ControlRequest& request, const DeviceModel& model);

// The refusal for this client, or nothing when the request may go ahead. guarded: the password
// set at the controller guards what this request changes.
std::optional<Refusal> access_refusal(const ClientIdentity& client, const AccessRequest& request,
                                      const LockOwners& locks, bool guarded);

}  // namespace mav
