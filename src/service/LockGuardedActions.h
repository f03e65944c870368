// The operator's own gestures on a controller that serves the control interface: a port that a
// client has locked refuses them as it refuses every other client, naming the owner, and nothing
// reaches the gateway; every other gesture acts on the gateway's link as before. UI thread.
#pragma once

#include <functional>
#include <string>

#include "matrix/PatchActions.h"
#include "service/GatewayService.h"

namespace mav {

class LockGuardedActions final : public PatchActions {
 public:
  // local: the gestures' own actions; refuse: the Buzz and the sentence in the status line.
  LockGuardedActions(PatchActions& local, const GatewayService& service,
                     std::function<void(const std::string&)> refuse)
      : local_(local), service_(service), refuse_(std::move(refuse)) {}

  void connect_ports(int s, int t) override;
  void add_port_to_net(int row, int port) override;
  void join_nets(int row, int row2) override;
  bool disconnect_port(int port) override;
  bool disconnect_net(int net) override;
  void monitor_on(int m, int p) override;
  void monitor_off(int m, int p) override;
  void toggle_permanent(int net, PasswordCheck& password) override;
  void connect_all() override;
  void disconnect_all() override;

 private:
  // True (after the refusal is shown) when another client's lock is in the way.
  bool refused(ControlOp op, int port, int other_port, int net);

  PatchActions& local_;
  const GatewayService& service_;
  std::function<void(const std::string&)> refuse_;
};

}  // namespace mav
