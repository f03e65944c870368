// What the service tells systemd when it runs under it: ready once the gateway has been
// synchronised the first time, the link's state as its status, and the watchdog kept alive while
// the worker runs. Without systemd every call does nothing, and the service runs the same.
#pragma once

#include "service/GatewayService.h"

namespace mav {

// The listening control socket systemd handed over, or -1.
int activated_socket();

class ServiceManager {
 public:
  explicit ServiceManager(GatewayService& service);
  void stopping();

 private:
  void on_state(LinkState link, bool synchronised);

  GatewayService& service_;
  bool ready_ = false;
};

}  // namespace mav
