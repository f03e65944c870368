// mav7700-sim: a stand-in MAV-7700 gateway on TCP and/or a pseudo-terminal.
#include <cstdio>
#include <string>
#include <vector>

#include "Options.h"
#include "Simulator.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  mav::sim::Options options;
  std::string error;
  if (!mav::sim::parse_options(args, options, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  mav::sim::Simulator simulator(options);
  if (!simulator.start(error)) {
    std::fprintf(stderr, "mav7700-sim: %s\n", error.c_str());
    return 1;
  }
  return simulator.run();
}
