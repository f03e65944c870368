// The patch changes a completed gesture or a matrix menu command asks for. The gesture code makes
// its own checks and then acts through this: locally on the gateway's link (ConnectionActions),
// or as requests to the service the console is attached to, which applies the gateway's rules.
// UI thread.
#pragma once

#include "security/PasswordRules.h"

namespace mav {

class PatchActions {
 public:
  virtual ~PatchActions() = default;

  // s is the selected port, t the clicked one (s != t).
  virtual void connect_ports(int s, int t) = 0;
  // Net row 0-6 (net row + 1) and a port, in either gesture order.
  virtual void add_port_to_net(int row, int port) = 0;
  // Net row `row` selected first, `row2` clicked.
  virtual void join_nets(int row, int row2) = 0;
  // Both true when a disconnection was started, false when refused or nothing was to do.
  virtual bool disconnect_port(int port) = 0;
  virtual bool disconnect_net(int net) = 0;
  // Port m starts or stops monitoring port p.
  virtual void monitor_on(int m, int p) = 0;
  virtual void monitor_off(int m, int p) = 0;
  // Net 1-7: clears the permanent marks of a marked net, else marks every port of it.
  virtual void toggle_permanent(int net, PasswordCheck& password) = 0;
  // The menu actions, after their confirmation.
  virtual void connect_all() = 0;
  virtual void disconnect_all() = 0;
};

}  // namespace mav
