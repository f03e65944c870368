// mav-gatewayd: the headless service that owns one gateway and serves it to many clients.
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "bridge/MetricsServer.h"
#include "bridge/MqttBridge.h"
#include "bridge/ServiceMetrics.h"
#include "gatewayd/GatewaydOptions.h"
#include "gatewayd/ServiceManager.h"
#include "platform/ProgramLocation.h"
#include "service/ControlSocketPath.h"
#include "service/HeadlessGateway.h"

namespace {

mav::GatewayTarget target_of(const mav::GatewaydOptions& options) {
  mav::GatewayTarget target;
  target.site = options.gateway_text;
  if (const auto* network = std::get_if<mav::NetworkAddress>(&options.gateway)) {
    target.address = network->address;
    target.port = network->port;
  } else {
    const auto& serial = std::get<mav::SerialAddress>(options.gateway);
    target.network = false;
    target.device = serial.device;
    target.baud = serial.baud;
  }
  return target;
}

// SIGTERM and SIGINT end the loop; they arrive as a readable descriptor, not in a handler.
int signal_descriptor() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  sigprocmask(SIG_BLOCK, &signals, nullptr);
  signal(SIGPIPE, SIG_IGN);
  return signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
}

}  // namespace

int main(int argc, char* argv[]) {
  const auto parsed = mav::parse_gatewayd_options({argv, argv + argc});
  if (const auto* exit = std::get_if<mav::GatewaydExit>(&parsed)) return exit->status;
  const auto& options = std::get<mav::GatewaydOptions>(parsed);

  std::optional<std::filesystem::path> given;
  if (options.program_directory) given = *options.program_directory;
  const auto folders = mav::locate_program_folders(given, std::filesystem::current_path());
  if (const auto* reason = std::get_if<std::string>(&folders)) {
    std::fprintf(stderr, "mav-gatewayd: %s\n", reason->c_str());
    return 1;
  }

  mav::ServiceSetup setup;
  setup.folders = std::get<mav::ProgramFolders>(folders);
  setup.target = target_of(options);
  setup.socket =
      options.socket ? std::filesystem::path(*options.socket) : mav::default_control_socket();
  setup.socket_fd = mav::activated_socket();
  setup.listen = options.listen.value_or("");
  setup.lock_grace_ms = options.lock_grace_seconds * 1000;

  const int signals = signal_descriptor();
  mav::SystemClock clock;
  mav::HeadlessGateway gateway(clock, std::move(setup));
  mav::GatewayService& service = gateway.service();
  mav::ServiceManager manager(service);
  std::string error;
  if (!gateway.start(error)) {
    std::fprintf(stderr, "mav-gatewayd: %s\n", error.c_str());
    return 1;
  }
  std::optional<mav::MqttBridge> bridge;
  if (!options.mqtt.host.empty()) bridge.emplace(service, options.mqtt).start();
  std::optional<mav::ServiceMetrics> metrics;
  std::optional<mav::MetricsServer> metrics_server;
  if (!options.metrics.empty()) {
    metrics.emplace(service);
    metrics_server.emplace(service.loop(), [&metrics] { return metrics->text(); });
    if (!metrics_server->listen(options.metrics, error)) {
      std::fprintf(stderr, "mav-gatewayd: %s\n", error.c_str());
      return 1;
    }
  }
  service.loop().watch(signals, POLLIN, [&service](short) { service.loop().stop(); });
  service.loop().run();
  manager.stopping();
  close(signals);
  return 0;
}
