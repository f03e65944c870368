#include "gatewayd/ServiceManager.h"

#if MAV_HAVE_SYSTEMD
#include <systemd/sd-daemon.h>
#endif

namespace mav {
namespace {

void notify([[maybe_unused]] const char* state) {
#if MAV_HAVE_SYSTEMD
  sd_notify(0, state);
#endif
}

}  // namespace

int activated_socket() {
#if MAV_HAVE_SYSTEMD
  if (sd_listen_fds(1) == 1) return SD_LISTEN_FDS_START;
#endif
  return -1;
}

ServiceManager::ServiceManager(GatewayService& service) : service_(service) {
  service_.set_state_listener(
      [this](LinkState link, bool synchronised) { on_state(link, synchronised); });
#if MAV_HAVE_SYSTEMD
  std::uint64_t watchdog_us = 0;
  if (sd_watchdog_enabled(0, &watchdog_us) > 0) {
    // Twice per period, and only while the worker answers the gateway.
    service_.loop().add_timer(static_cast<std::uint32_t>(watchdog_us / 2000), true, [this] {
      if (service_.engine().running()) notify("WATCHDOG=1");
    });
  }
#endif
}

void ServiceManager::on_state(LinkState link, bool synchronised) {
  static constexpr const char* kStatus[] = {"STATUS=Connected to the gateway",
                                            "STATUS=Connecting to the gateway",
                                            "STATUS=Not connected to the gateway"};
  notify(kStatus[static_cast<int>(link)]);
  if (synchronised && !ready_) {
    ready_ = true;
    notify("READY=1");
  }
}

void ServiceManager::stopping() {
  notify("STOPPING=1");
}

}  // namespace mav
