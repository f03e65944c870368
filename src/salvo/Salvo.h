// A salvo: a named set of patches the operator recalls at once. It changes only the ports it
// names: nets to make, ports to free, and the monitor lists of some ports. Every named port
// carries the module type and port name it had when the salvo was made, so a take onto a gateway
// whose modules have moved refuses instead of patching the wrong audio. Plain data; any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mav {

// A port the salvo names, with what must sit there.
struct SalvoPort {
  int port = 0;
  std::uint32_t mod_type = 0;
  std::string name;
  bool operator==(const SalvoPort&) const = default;
};

// The whole monitor list a port is to have (empty: it monitors nothing).
struct SalvoMonitors {
  int port = 0;
  std::vector<int> monitored;
  bool operator==(const SalvoMonitors&) const = default;
};

struct Salvo {
  std::string name;
  std::vector<SalvoPort> ports;         // every port used below, once, ascending
  std::vector<std::vector<int>> nets;   // each of at least two ports, a port in one net at most
  std::vector<int> free;                // ports to take out of any net; in no net above
  std::vector<SalvoMonitors> monitors;  // a port at most once
  bool operator==(const Salvo&) const = default;

  const SalvoPort* find(int port) const;
};

}  // namespace mav
