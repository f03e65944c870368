#include "service/LockGuardedActions.h"

namespace mav {

bool LockGuardedActions::refused(ControlOp op, int port, int other_port, int net) {
  ControlRequest request;
  request.op = op;
  request.arguments.port = port;
  request.arguments.other_port = other_port;
  request.arguments.net = net;
  const auto refusal = service_.own_refusal(request);
  if (refusal) refuse_(refusal->text);
  return refusal.has_value();
}

void LockGuardedActions::connect_ports(int s, int t) {
  if (!refused(ControlOp::Connect, s, t, -1)) local_.connect_ports(s, t);
}

void LockGuardedActions::add_port_to_net(int row, int port) {
  if (!refused(ControlOp::Connect, port, -1, row + 1)) local_.add_port_to_net(row, port);
}

void LockGuardedActions::join_nets(int row, int row2) {
  if (!refused(ControlOp::Connect, -1, -1, row + 1) &&
      !refused(ControlOp::Connect, -1, -1, row2 + 1))
    local_.join_nets(row, row2);
}

bool LockGuardedActions::disconnect_port(int port) {
  return !refused(ControlOp::Disconnect, port, -1, -1) && local_.disconnect_port(port);
}

bool LockGuardedActions::disconnect_net(int net) {
  return !refused(ControlOp::DisconnectNet, -1, -1, net) && local_.disconnect_net(net);
}

void LockGuardedActions::monitor_on(int m, int p) {
  if (!refused(ControlOp::Monitor, m, p, -1)) local_.monitor_on(m, p);
}

void LockGuardedActions::monitor_off(int m, int p) {
  if (!refused(ControlOp::Monitor, m, p, -1)) local_.monitor_off(m, p);
}

void LockGuardedActions::toggle_permanent(int net, PasswordCheck& password) {
  if (!refused(ControlOp::Permanent, -1, -1, net)) local_.toggle_permanent(net, password);
}

void LockGuardedActions::connect_all() {
  if (!refused(ControlOp::ConnectAll, -1, -1, -1)) local_.connect_all();
}

void LockGuardedActions::disconnect_all() {
  if (!refused(ControlOp::DisconnectAll, -1, -1, -1)) local_.disconnect_all();
}

}  // namespace mav
