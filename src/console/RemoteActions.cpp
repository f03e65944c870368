#include "console/RemoteActions.h"

namespace mav {
namespace {

ControlArguments ports(int port, int other_port = -1) {
  ControlArguments arguments;
  arguments.port = port;
  arguments.other_port = other_port;
  return arguments;
}

// The ports of net 1-7, in port order.
std::vector<int> ports_of_net(const DeviceModel& model, int net) {
  std::vector<int> found;
  PortRecord record;
  for (int port = 0; port < kPortCount; ++port) {
    if (model.GetPort(port, record) && record.net == net) found.push_back(port);
  }
  return found;
}

}  // namespace

RemoteActions::RemoteActions(ServiceClient& client, const RemoteModel& model, Refused refused)
    : client_(client), model_(model), refused_(std::move(refused)) {}

void RemoteActions::send(ControlOp op, const ControlArguments& arguments,
                         std::function<void()> applied) {
  std::weak_ptr<int> alive = lifetime_;
  client_.request(
      op, arguments, [this, alive, applied = std::move(applied)](const ServiceAnswer& answer) {
        if (alive.expired()) return;
        if (answer.status == ResponseStatus::Refused || answer.status == ResponseStatus::Error) {
          refused_(answer.message);
        } else if (answer.status == ResponseStatus::Applied && applied) {
          applied();
        }
      });
}

void RemoteActions::connect_ports(int s, int t) {
  send(ControlOp::Connect, ports(s, t));
}

void RemoteActions::add_port_to_net(int row, int port) {
  ControlArguments arguments = ports(port);
  arguments.net = row + 1;
  send(ControlOp::Connect, arguments);
}

void RemoteActions::join_nets(int row, int row2) {
  const std::vector<int> selected = ports_of_net(model_.model(), row + 1);
  move_next(ports_of_net(model_.model(), row2 + 1), selected.empty() ? -1 : selected.front(),
            row + 1);
}

void RemoteActions::move_next(std::vector<int> ports, int anchor, int net) {
  if (ports.empty()) return;
  ControlArguments arguments;
  arguments.port = ports.front();
  arguments.net = net;
  ports.erase(ports.begin());
  // Nets are renumbered as they empty and fill: the next port follows the anchor's net.
  send(ControlOp::Connect, arguments, [this, ports = std::move(ports), anchor] {
    PortRecord record;
    if (model_.model().GetPort(anchor, record)) move_next(ports, anchor, record.net);
  });
}

void RemoteActions::disconnect_port(int port) {
  send(ControlOp::Disconnect, ports(port));
}

void RemoteActions::disconnect_net(int net) {
  ControlArguments arguments;
  arguments.net = net;
  send(ControlOp::DisconnectNet, arguments);
}

void RemoteActions::monitor_on(int m, int p) {
  ControlArguments arguments = ports(m, p);
  arguments.on = true;
  send(ControlOp::Monitor, arguments);
}

void RemoteActions::monitor_off(int m, int p) {
  send(ControlOp::Monitor, ports(m, p));
}

void RemoteActions::toggle_permanent(int net) {
  const std::vector<int> members = ports_of_net(model_.model(), net);
  if (!members.empty()) send(ControlOp::Permanent, ports(members.front()));
}

void RemoteActions::connect_all() {
  send(ControlOp::ConnectAll, {});
}

void RemoteActions::disconnect_all() {
  send(ControlOp::DisconnectAll, {});
}

void RemoteActions::lock(int port) {
  send(ControlOp::Lock, ports(port));
}

void RemoteActions::unlock(int port, bool force) {
  ControlArguments arguments = ports(port);
  arguments.force = force;
  send(ControlOp::Unlock, arguments);
}

void RemoteActions::set_settings(int port, NamedSettings settings) {
  ControlArguments arguments = ports(port);
  arguments.settings = std::move(settings);
  send(ControlOp::SettingsSet, arguments);
}

}  // namespace mav
