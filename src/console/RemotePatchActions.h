// The gestures' patch changes as requests to the attached service. A request only starts the
// change: the gesture is over once it is sent, and the service's answer (or its refusal, through
// RemoteActions) follows. The password of permanent connections is the service's to check. Host
// thread.
#pragma once

#include <functional>

#include "console/RemoteActions.h"
#include "matrix/PatchActions.h"

namespace mav {

class RemotePatchActions final : public PatchActions {
 public:
  // sent: after each request, to end the gesture's selection.
  RemotePatchActions(RemoteActions& remote, std::function<void()> sent)
      : remote_(remote), sent_(std::move(sent)) {}

  void connect_ports(int s, int t) override {
    remote_.connect_ports(s, t);
    sent();
  }
  void add_port_to_net(int row, int port) override {
    remote_.add_port_to_net(row, port);
    sent();
  }
  void join_nets(int row, int row2) override {
    remote_.join_nets(row, row2);
    sent();
  }
  bool disconnect_port(int port) override {
    remote_.disconnect_port(port);
    sent();
    return true;
  }
  bool disconnect_net(int net) override {
    remote_.disconnect_net(net);
    sent();
    return true;
  }
  void monitor_on(int m, int p) override {
    remote_.monitor_on(m, p);
    sent();
  }
  void monitor_off(int m, int p) override {
    remote_.monitor_off(m, p);
    sent();
  }
  void toggle_permanent(int net, PasswordCheck&) override {
    remote_.toggle_permanent(net);
    sent();
  }
  void connect_all() override {
    remote_.connect_all();
    sent();
  }
  void disconnect_all() override {
    remote_.disconnect_all();
    sent();
  }

 private:
  void sent() {
    if (sent_) sent_();
  }

  RemoteActions& remote_;
  std::function<void()> sent_;
};

}  // namespace mav
