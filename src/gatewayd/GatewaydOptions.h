// mav-gatewayd's command line. --help and --version print and end the process; anything the
// service cannot use is one line of reason, and the process ends with status 2.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "bridge/MqttBridge.h"
#include "platform/GatewayAddress.h"

namespace mav {

struct GatewaydOptions {
  std::optional<std::string> program_directory;
  std::variant<NetworkAddress, SerialAddress> gateway;
  std::string gateway_text;  // as given, for the greeting's site name
  std::optional<std::string> socket;
  std::optional<std::string> listen;
  std::uint32_t lock_grace_seconds = 60;
  // The broker bridge (host set) and the metrics listener (HOST:PORT), both off when empty.
  MqttSettings mqtt;
  std::string metrics;
};

struct GatewaydExit {
  int status;  // 0 after --help or --version, 2 for a bad command line
};

// arguments as main() has them, the program's name first; help and version texts go to stdout.
std::variant<GatewaydOptions, GatewaydExit> parse_gatewayd_options(
    const std::vector<std::string>& arguments);

}  // namespace mav
