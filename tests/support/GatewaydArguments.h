// mav-gatewayd's command line in the tests: its program folder "prog" in the test's scratch
// folder, the simulator on its loopback port, the control socket, then any further options.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace mav::test {

inline std::vector<std::string> gatewayd_arguments(const std::filesystem::path& dir, int sim_port,
                                                   const std::filesystem::path& socket,
                                                   std::initializer_list<std::string> more = {}) {
  std::vector<std::string> arguments{"--program-dir", (dir / "prog").string(),
                                     "--connect",     "127.0.0.1:" + std::to_string(sim_port),
                                     "--socket",      socket.string()};
  arguments.insert(arguments.end(), more);
  return arguments;
}

}  // namespace mav::test
