#include "gatewayd/GatewaydOptions.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <fstream>

namespace mav {
namespace {

constexpr int kUsageExitCode = 2;

GatewaydExit refuse(const std::string& reason) {
  std::fprintf(stderr, "mav-gatewayd: %s\n", reason.c_str());
  return {kUsageExitCode};
}

}  // namespace

std::variant<GatewaydOptions, GatewaydExit> parse_gatewayd_options(
    const std::vector<std::string>& arguments) {
  CLI::App app("The headless service that owns one MAV-7700 gateway and serves it to clients.",
               "mav-gatewayd");
  app.set_version_flag("--version", std::string(MAV_VERSION));
  std::string program_dir, connect, serial, socket, listen;
  app.add_option("--program-dir", program_dir, "Keep configurations, history and logs in DIR")
      ->type_name("DIR");
  auto* connect_option =
      app.add_option("--connect", connect, "Open the gateway over TCP (port 23 when left out)")
          ->type_name("HOST[:PORT]");
  auto* serial_option =
      app.add_option("--serial", serial, "Open the gateway on a serial port (9600 or 115200 baud)")
          ->type_name("DEVICE[,BAUD]");
  connect_option->excludes(serial_option);
  app.add_option("--socket", socket, "The control socket")->type_name("PATH");
  app.add_option("--listen", listen, "Also serve the control protocol on TCP (tokens only)")
      ->type_name("HOST:PORT");
  std::string mqtt, password_file;
  GatewaydOptions options;
  app.add_option("--mqtt", mqtt,
                 "Publish to an MQTT broker and take its requests (port 1883 when left out)")
      ->type_name("HOST[:PORT]");
  app.add_option("--mqtt-site", options.mqtt.site, "The topic level naming this gateway")
      ->type_name("NAME");
  app.add_option("--mqtt-user", options.mqtt.user, "The broker's user name")->type_name("NAME");
  app.add_option("--mqtt-password-file", password_file, "The broker password's file (first line)")
      ->type_name("FILE");
  app.add_option("--mqtt-cafile", options.mqtt.cafile, "Talk TLS to the broker, trusting FILE")
      ->type_name("FILE");
  app.add_option("--mqtt-keepalive", options.mqtt.keepalive_s, "Seconds between keep-alives")
      ->type_name("SECONDS")
      ->check(CLI::Range(5, 3600));
  app.add_option("--metrics", options.metrics, "Serve /metrics for Prometheus")
      ->type_name("HOST:PORT");
  app.add_option("--lock-grace", options.lock_grace_seconds,
                 "Keep a gone client's port locks this long (60)")
      ->type_name("SECONDS")
      ->check(CLI::Range(0, 86400));

  std::vector<std::string> reversed(arguments.rbegin(), arguments.rend() - 1);
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    std::fputs(app.help().c_str(), stdout);
    return GatewaydExit{0};
  } catch (const CLI::CallForVersion&) {
    std::printf("mav-gatewayd %s\n", MAV_VERSION);
    return GatewaydExit{0};
  } catch (const CLI::ParseError& error) {
    return refuse(error.what());
  }

  if (app.count("--program-dir")) {
    if (program_dir.empty()) return refuse("empty folder name in --program-dir");
    options.program_directory = program_dir;
  }
  if (app.count("--connect")) {
    auto parsed = parse_network_address(connect);
    if (auto* reason = std::get_if<std::string>(&parsed)) return refuse(*reason);
    options.gateway = std::get<NetworkAddress>(parsed);
    options.gateway_text = connect;
  } else if (app.count("--serial")) {
    auto parsed = parse_serial_address(serial);
    if (auto* reason = std::get_if<std::string>(&parsed)) return refuse(*reason);
    options.gateway = std::get<SerialAddress>(parsed);
    options.gateway_text = serial;
  } else {
    return refuse("--connect HOST[:PORT] or --serial DEVICE[,BAUD] names the gateway");
  }
  if (app.count("--socket")) options.socket = socket;
  if (app.count("--listen")) options.listen = listen;
  if (app.count("--mqtt") && !parse_broker(mqtt, options.mqtt)) {
    return refuse("--mqtt wants HOST[:PORT], not " + mqtt);
  }
  if (options.mqtt.site.empty()) options.mqtt.site = options.gateway_text;
  options.mqtt.site = topic_level(options.mqtt.site);
  if (!password_file.empty()) {
    std::ifstream file(password_file);
    if (!file || !std::getline(file, options.mqtt.password)) {
      return refuse("cannot read the password in " + password_file);
    }
  }
  return options;
}

}  // namespace mav
