#include "engine/GatewayEngine.h"

namespace mav {

GatewayEngine::GatewayEngine(EngineHost host)
    : clock_(host.clock),
      frontend_(host.frontend),
      folders_(std::move(host.folders)),
      log_(folders_.program / "Logs", clock_),
      contact_(clock_, model_, log_, frontend_, trace_),
      link_(clock_, model_, log_, frontend_, contact_, session_.worker_wake, trace_),
      reader_(link_.received_lines()),
      commands_(link_, session_),
      settings_writer_(link_, session_),
      configurations_(ConfigParts{model_, pending_, pins_, link_, session_, frontend_, host.icons,
                                  settings_writer_},
                      folders_.program, host.run_later),
      keeper_(LinkKeeperParts{clock_, link_, log_, frontend_, contact_, host.run_later}) {}

GatewayEngine::~GatewayEngine() {
  stop();
  link_.close();
}

void GatewayEngine::attach(const EngineHooks& hooks) {
  dispatcher_ = std::make_unique<ReplyDispatcher>(DispatcherParts{
      reader_.reply(), model_, pending_, pins_, log_, link_, frontend_, clock_, session_,
      SessionHooks{hooks.shell, configurations_, hooks.port_view, hooks.dial}});
  worker_ = std::make_unique<WorkerLoop>(clock_, link_, reader_, *dispatcher_);
  keeper_.attach(hooks.connection);
  link_.attach_event_host(hooks.sockets);
}

bool GatewayEngine::open_network(const std::uint8_t (&address)[4], std::uint16_t port) {
  if (link_.is_open()) link_.close();
  if (!link_.open_network(address, port)) return false;
  commands_.synchronise();
  return true;
}

bool GatewayEngine::open_serial(const std::string& device, std::uint32_t baud) {
  if (link_.is_open()) link_.close();
  if (!link_.open_serial(device, baud)) return false;
  commands_.synchronise();
  return true;
}

void GatewayEngine::close() {
  keeper_.stop_reconnecting();
  if (link_.is_open()) link_.close();
}

void GatewayEngine::start() {
  if (worker_) worker_->start();
  keeper_.start_keepalive();
}

void GatewayEngine::stop() {
  keeper_.stop_keepalive();
  if (worker_) worker_->stop();
}

ActionParts GatewayEngine::action_parts(GestureHooks& hooks) {
  return {model_, pending_, link_, session_, frontend_, hooks};
}

}  // namespace mav
