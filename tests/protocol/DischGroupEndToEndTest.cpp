// A DISCH group built and broken up by the controller against the gateway simulator over
// loopback TCP, on real threads. The test stands in for the operator's gestures: it stores the
// steps the connection actions store and sends their lines. After every action the gateway's
// connections and relay image must equal the controller's model.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "protocol/ControllerRig.h"
#include "protocol/RelayState.h"
#include "sim/SimProcess.h"

namespace mav {
namespace {

using sim::test::SimProcess;
using test::ControllerRig;

constexpr std::uint8_t kLoopback[4] = {127, 0, 0, 1};

std::string two_digits(int port) {
  char text[8];
  std::snprintf(text, sizeof text, "%.2d", port);
  return text;
}

// The controller's model written as the gateway answers "CONNECT_S ALL ?" (replies joined by
// " | ", as the simulator's "ask" shows them).
std::string controller_connections(const ControllerRig& rig) {
  std::string text;
  for (int bus = 0; bus < GROUP_NONE; ++bus) {
    if (rig.model.CountOnBus(bus) < 2) continue;
    text += text.empty() ? "%CONNECT_S" : " | %CONNECT_S";
    for (int port = 0; port < kPortCount; ++port) {
      if (rig.port(port).bus == bus) text += " " + two_digits(port);
    }
    text += " E0";
  }
  return text.empty() ? "%CONNECT_S ALL E4" : text;
}

// The 64 hex digits of the controller's RELAY report.
std::string controller_image(const ControllerRig& rig) {
  char line[kRelayLineLength + 1];
  format_relay_line(rig.model, line);
  return std::string(line + 6, 64);
}

class DischGroupEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim_.start({"--tcp", "127.0.0.1:0", "--control-port", "0", "--transcript",
                            (rig_->scratch / "transcript.txt").string()}));
    sim_.close_stdin();
    rig_->state.network_mode = true;
    rig_->worker.start();
    ASSERT_TRUE(rig_->channel.open_network(kLoopback, static_cast<std::uint16_t>(sim_.tcp_port)));
    rig_->commands.synchronise();
    ASSERT_TRUE(settle([&] { return rig_->state.mek_squelch_type.load() != -1; }));
  }

  // Waits for the condition, then until no line has come for half a second and none waits.
  template <typename Condition>
  bool settle(Condition condition) {
    ControllerRig& rig = *rig_;
    return rig.pump_until(condition) && rig.pump_until([&] {
      return rig.channel.queued_lines() == 0 &&
             rig.clock.now_ms() - rig.state.last_line_ms.load() > 500;
    });
  }

  template <typename Change>
  void store(int port, Change change) {
    PortRecord record = rig_->port(port);
    change(record);
    rig_->model.SetPort(port, record);
  }

  void send(const std::string& line) { rig_->channel.send_line(line + "\r", true); }

  // Two free ports, neither connected nor in a DISCH group.
  void connect_free_ports(int s, int t) {
    store(s, [](PortRecord& r) {
      r.connect_step = 2;
      r.pending_bus = GROUP_NONE;
    });
    store(t, [](PortRecord& r) {
      r.connect_step = 0;
      r.pending_bus = GROUP_NONE;
    });
    send("CONNECT_S " + two_digits(s) + " " + two_digits(t));
  }

  // Two connected ports on different buses, neither in a DISCH group: the split into a group.
  void split_into_group(int s, int t) {
    store(s, [](PortRecord& r) {
      r.disch_step = 1;
      r.pending_partner = PORT_NONE;
    });
    store(t, [s](PortRecord& r) {
      r.disch_step = 5;
      r.pending_partner = static_cast<std::uint16_t>(s);
    });
    send("DISCH " + two_digits(s));
    send("DISCH " + two_digits(t));
  }

  // A port that is neither connected nor grouped, to a connected port in a DISCH group.
  void join_group(int s, int t) {
    store(s, [](PortRecord& r) {
      r.connect_step = 7;
      r.pending_bus = GROUP_NONE;
    });
    send("CONNECT_S " + two_digits(s) + " " + two_digits(t));
  }

  // A member of a DISCH group taken out of it.
  void disconnect_member(int p) {
    const int other = rig_->model.OtherGroupMember(p);
    if (other >= 0) rig_->pending.Add(3, static_cast<std::uint8_t>(other), 0, 0);
    const PortRecord record = rig_->port(p);
    if (record.bus == GROUP_NONE) {
      store(p, [](PortRecord& r) { r.disch_step = 2; });
      send("DISC_S " + two_digits(p));
      return;
    }
    const int partner = rig_->model.FindPartner(p);
    const bool same_bus = partner != PORT_NONE && rig_->port(partner).bus == record.bus;
    store(p, [&](PortRecord& r) {
      r.disch_step = 6;
      r.pending_partner = static_cast<std::uint16_t>(partner);
      r.pending_bus = same_bus ? GROUP_NONE : static_cast<std::uint16_t>(record.bus);
    });
    send("DISCH " + two_digits(p));
  }

  // With a DISCH group the gateway's connection list ends with its relay image.
  void expect_agreement(const std::string& connections, const std::string& image,
                        bool grouped = false) {
    EXPECT_EQ(sim_.control("ask CONNECT_S ALL ?"),
              "ok " + connections + (grouped ? " | %RELAY " + image : ""));
    EXPECT_EQ(controller_connections(*rig_), connections);
    EXPECT_EQ(sim_.control("relay ?"), "ok %RELAY " + image);
    EXPECT_EQ(controller_image(*rig_), image);
  }

  SimProcess sim_;
  std::unique_ptr<ControllerRig> rig_ = std::make_unique<ControllerRig>();
};

// Ports 00 and 01 (radios) on one bus, 03 and 06 on another; 00 and 03 are put into a DISCH
// group, the idle telephone line 02 joins it, then 02 and 03 leave it again.
TEST_F(DischGroupEndToEnd, ControllerAndGatewayAgreeAfterEveryStep) {
  const ControllerRig& rig = *rig_;
  const std::string rest(50, '0');  // ports 07 to 31
  const std::string two_buses = "%CONNECT_S 00 01 E0 | %CONNECT_S 03 06 E0";

  connect_free_ports(0, 1);
  connect_free_ports(3, 6);
  ASSERT_TRUE(
      settle([&] { return rig.port(1).net != GROUP_NONE && rig.port(6).net != GROUP_NONE; }));
  expect_agreement(two_buses, "40400060000060" + rest);

  split_into_group(0, 3);
  ASSERT_TRUE(settle([&] {
    return rig.port(0).disch_group != GROUP_NONE &&
           rig.port(3).disch_group == rig.port(0).disch_group;
  }));
  expect_agreement(two_buses, "41400061000060" + rest, true);

  join_group(2, 0);
  ASSERT_TRUE(settle([&] { return rig.port(2).disch_group == rig.port(0).disch_group; }));
  expect_agreement(two_buses, "41400161000060" + rest, true);

  // The line leaves; with two members left the group stays.
  disconnect_member(2);
  ASSERT_TRUE(settle([&] { return rig.port(2).disch_group == GROUP_NONE; }));
  expect_agreement(two_buses, "41400061000060" + rest, true);

  // The last but one leaves: the gateway reports the one left, which then leaves the group too.
  disconnect_member(3);
  ASSERT_TRUE(settle([&] { return rig.port(3).disch_group == GROUP_NONE; }));
  expect_agreement(two_buses, "40400060000060" + rest);
}

}  // namespace
}  // namespace mav
