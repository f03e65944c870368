// A console attached to the real service over its Unix socket, the simulator as the gateway and
// mavctl as the other clients.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

#include "console/RemoteActions.h"
#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "sim/SimProcess.h"
#include "support/CommandOutput.h"
#include "support/ControllerProcess.h"
#include "support/Eventually.h"
#include "support/GatewaydArguments.h"
#include "support/ScratchDirectory.h"

namespace mav::test {
namespace {

using namespace std::chrono_literals;

class Console : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim_.start({"--tcp", "127.0.0.1:0", "--lineup", "11110001"}));
    start_service();
    ASSERT_TRUE(eventually([] { std::this_thread::sleep_for(100ms); },
                           [&] { return mavctl("status").find(", synchronised;") != npos; }, 60s));
    loop_.set_socket_events(&client_);
    client_.set_link_listener([&](ServiceLink link, const std::string&) {
      constexpr const char* kNames[] = {"closed", "connecting", "open", "identified", "lost"};
      links_ += std::string(kNames[static_cast<int>(link)]) + " ";
    });
    client_.open(socket_.string());
    ASSERT_TRUE(until([&] { return client_.link() == ServiceLink::Identified; }));
  }
  void start_service() {
    service_.emplace(GATEWAYD_PATH, dir_.path(),
                     gatewayd_arguments(dir_.path(), sim_.tcp_port, socket_), dir_.path());
  }
  // What mavctl printed, standard error after standard output.
  std::string mavctl(const std::string& arguments) const {
    return run_command(std::string(MAVCTL_PATH) + " --socket " + socket_.string() + " " +
                       arguments + " 2>&1")
        .out;
  }
  bool until(const std::function<bool()>& done) {
    return eventually([&] { loop_.run_once(10); }, done, 30s);
  }
  int net_of(int port) const {
    PortRecord record;
    remote_.model().GetPort(port, record);
    return record.net;
  }
  bool together(int a, int b) const { return net_of(a) != GROUP_NONE && net_of(a) == net_of(b); }
  // The console's ports as mavctl prints the snapshot's.
  std::string ports_json() const {
    nlohmann::ordered_json ports = nlohmann::ordered_json::array();
    for (int port = 0; port < kPortCount; ++port) {
      PortRecord record;
      remote_.model().GetPort(port, record);
      ports.push_back(port_json(port, record, remote_.locks()[static_cast<std::size_t>(port)]));
    }
    return nlohmann::json::parse(ports.dump()).dump() + "\n";
  }

  static constexpr auto npos = std::string::npos;
  ScratchDirectory dir_;
  std::filesystem::path socket_ = dir_ / "control.sock";
  sim::test::SimProcess sim_;
  std::optional<ControllerProcess> service_;
  SystemClock clock_;
  EventLoop loop_{clock_};
  ServiceClient client_{loop_, "desk-1"};
  RemoteModel remote_{client_};
  std::vector<std::string> refusals_;
  RemoteActions actions_{client_, remote_,
                         [&](const std::string& why) { refusals_.push_back(why); }};
  std::string links_;
};

TEST_F(Console, KeepsTheServicesModelWithEachChangesActorAndTheLocksOfOthers) {
  EXPECT_EQ(ports_json(), mavctl("ports --json"));

  EXPECT_EQ(mavctl("--name dispatch-1 connect 3 7"), "");
  EXPECT_TRUE(until([&] { return together(3, 7) && remote_.last_actor() == "dispatch-1"; }));
  actions_.connect_ports(0, 1);
  EXPECT_TRUE(until([&] { return together(0, 1) && remote_.last_actor() == "desk-1"; }));
  actions_.join_nets(net_of(0) - 1, net_of(3) - 1);
  EXPECT_TRUE(until([&] { return together(0, 3) && together(0, 7) && together(0, 1); }));

  EXPECT_EQ(mavctl("--name A lock 3"), "");
  EXPECT_TRUE(until([&] { return remote_.locks()[3] == "A"; }));
  actions_.disconnect_port(3);
  EXPECT_TRUE(until([&] { return !refusals_.empty(); }));
  EXPECT_EQ(refusals_, std::vector<std::string>{"Port 03 is locked by A"});
  EXPECT_EQ(ports_json(), mavctl("ports --json"));
}

TEST_F(Console, ReportsTheServicesLossAndAttachesAgainWhenItReturns) {
  service_.reset();
  EXPECT_TRUE(until([&] { return client_.link() == ServiceLink::Lost; }));
  actions_.connect_all();
  EXPECT_EQ(refusals_, std::vector<std::string>{"Not connected to the service"});
  start_service();
  EXPECT_TRUE(until([&] { return client_.link() == ServiceLink::Identified; }));
  EXPECT_EQ(links_, "connecting open identified lost open identified ");
  EXPECT_TRUE(until([&] { return remote_.model().CountModules() == 5; }));
}

TEST_F(Console, IdentifiesByItsTokensAnswerAndStaysClosedWhenTheTokenIsRefused) {
  const std::string added = mavctl("token add desk-2 operator");
  const std::pair<std::string, std::string> tokens[] = {{added.substr(8, added.size() - 9), ""},
                                                        {"0badc0de", "The token is not known"}};
  for (const auto& [token, refusal] : tokens) {
    EventLoop loop{clock_};
    ServiceClient other{loop, "guest", token};
    loop.set_socket_events(&other);
    std::string why;
    other.set_link_listener([&](ServiceLink, const std::string& reason) { why = reason; });
    other.open(socket_.string());
    const auto both = [&] { loop_.run_once(0), loop.run_once(10); };
    const ServiceLink expected = refusal.empty() ? ServiceLink::Identified : ServiceLink::Closed;
    EXPECT_TRUE(eventually(
        both, [&] { return other.link() == expected; }, 30s))
        << token;
    EXPECT_EQ(why, refusal);
    if (expected == ServiceLink::Closed) continue;
    // The token names the console: its change shows under that name.
    ControlArguments arguments;
    arguments.port = 0;
    arguments.other_port = 2;
    other.request(ControlOp::Connect, arguments, {});
    EXPECT_TRUE(eventually(
        both, [&] { return together(0, 2); }, 30s));
    EXPECT_EQ(remote_.last_actor(), "desk-2");
  }
}

}  // namespace
}  // namespace mav::test
