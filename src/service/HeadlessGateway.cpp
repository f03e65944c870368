#include "service/HeadlessGateway.h"

namespace mav {

HeadlessGateway::HeadlessGateway(const Clock& clock, ServiceSetup setup)
    : target_(setup.target),
      loop_(clock),
      frontend_([this](std::function<void()> call) { loop_.post(std::move(call)); }, service_),
      engine_(EngineHost{clock, frontend_, setup.folders,
                         [this](std::chrono::milliseconds pause, std::function<void()> rest) {
                           loop_.add_timer(static_cast<std::uint32_t>(pause.count()), false,
                                           std::move(rest));
                         },
                         *this}),
      service_(loop_, engine_, std::move(setup)) {
  engine_.attach(EngineHooks{*this, *this, service_, *this, loop_});
  loop_.set_socket_events(&engine_.socket_events());
}

HeadlessGateway::~HeadlessGateway() {
  // The worker calls into the service: it stops before the service goes.
  engine_.stop();
  engine_.close();
}

bool HeadlessGateway::start(std::string& error) {
  if (!service_.start_serving(error)) return false;
  engine_.trace().start();
  engine_.model().Reset(false);
  reopen_connection();
  engine_.start();
  service_.link_changed();
  return true;
}

void HeadlessGateway::reopen_connection() {
  if (target_.network) {
    const std::uint8_t address[4] = {target_.address[0], target_.address[1], target_.address[2],
                                     target_.address[3]};
    engine_.session().network_mode = true;
    engine_.open_network(address, target_.port);
  } else {
    engine_.session().network_mode = false;
    if (!engine_.open_serial(target_.device, target_.baud)) {
      engine_.log().write_log_entry("Error opening serial port " + target_.device);
    }
  }
  service_.link_changed();
}

}  // namespace mav
