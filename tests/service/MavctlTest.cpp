// mavctl against a server that applies connects and refuses disconnects.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "service/ServerRig.h"

namespace mav::test {
namespace {

struct Outcome {
  int status;
  std::string err;
};

Outcome run_mavctl(const std::string& arguments) {
  const std::string command = std::string(MAVCTL_PATH) + " " + arguments + " 2>&1 >/dev/null";
  FILE* pipe = ::popen(command.c_str(), "r");
  std::string err;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) err += buffer;
  const int status = ::pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, err};
}

TEST(Mavctl, ExitsWithTheOutcomeOfItsRequest) {
  ServerRig rig;
  std::string error;
  ASSERT_TRUE(rig.server.listen_unix(rig.socket_path, error)) << error;
  rig.start();
  const std::string socket = "--socket " + rig.socket_path.string() + " --name ops ";
  const std::pair<std::string, Outcome> cases[] = {
      {socket + "connect 3 7", {0, ""}},
      {socket + "disconnect 4", {1, "mavctl: no_module: Port 04 holds no module.\n"}},
      {socket + "monitor 3 7 maybe", {2, ""}},
      {"--socket " + (rig.scratch / "none.sock").string() + " status", {3, ""}},  // texts of others
  };
  for (const auto& [arguments, expected] : cases) {
    const Outcome outcome = run_mavctl(arguments);
    EXPECT_EQ(outcome.status, expected.status) << arguments;
    if (expected.status < 2) {
      EXPECT_EQ(outcome.err, expected.err);
    }
  }
}

}  // namespace
}  // namespace mav::test
