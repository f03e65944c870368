// The gateway owned without a window: the event loop that stands in for the controller's UI
// thread, the engine with its worker, the link to the one gateway it was set up for, and the
// control interface served over them. What the engine asks of a shell it answers itself: nothing
// is drawn, no preferences or site names are kept, and a dropped link is opened again. Loop thread
// unless a member says otherwise.
#pragma once

#include <string>

#include "engine/GatewayEngine.h"
#include "platform/EventLoop.h"
#include "service/GatewayService.h"
#include "service/ServiceFrontend.h"

namespace mav {

class HeadlessGateway final : public ShellHooks,
                              public PortViewHooks,
                              public ConnectionHooks,
                              public CustomIcons {
 public:
  HeadlessGateway(const Clock& clock, ServiceSetup setup);
  ~HeadlessGateway() override;

  // Listens, opens the gateway and starts the worker; false with a sentence when the control
  // socket cannot be opened (a gateway that cannot be reached yet is retried, not fatal).
  bool start(std::string& error);
  EventLoop& loop() { return loop_; }
  GatewayEngine& engine() { return engine_; }
  GatewayService& service() { return service_; }

  // ShellHooks: worker thread.
  bool channel_open() const override { return engine_.link().is_open(); }
  void save_preferences() override {}
  void load_site_port_names() override {}
  // PortViewHooks
  void release_port_icon(int, int) override {}
  bool advance_slides() override { return false; }
  // ConnectionHooks
  void connection_dropped() override {}
  void reopen_connection() override;
  void reconnect_failed() override { service_.link_changed(); }
  // CustomIcons: a configuration's custom icons have nowhere to show.
  int LoadCustom(const char*, int) override { return -1; }
  void FreeCustom() override {}

 private:
  const GatewayTarget target_;
  EventLoop loop_;
  ServiceFrontend frontend_;
  GatewayEngine engine_;
  GatewayService service_;
};

}  // namespace mav
