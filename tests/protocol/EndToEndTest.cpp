// The controller's core on its real threads against the gateway simulator over loopback TCP: the
// synchronisation and the gateway's events, a DISCH group built and broken up, and the replay
// after a gateway restart.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "protocol/RelayState.h"
#include "support/ControllerRig.h"

namespace mav {
namespace {

using sim::test::SimProcess;
using test::ConfigRig;

class EndToEnd : public ::testing::Test {
 protected:
  // Waits for the condition, then until no line has come for half a second and none waits.
  template <typename Condition>
  bool settle(Condition condition) {
    return rig.pump_until(condition) && rig.pump_until([&] {
      return rig.channel.queued_lines() == 0 &&
             rig.clock.now_ms() - rig.state.last_line_ms.load() > 500;
    });
  }
  void send(const std::string& line) { rig.channel.send_line(line + "\r", true); }

  SimProcess sim;
  std::unique_ptr<ConfigRig> rig_ptr = std::make_unique<ConfigRig>(true);
  ConfigRig& rig = *rig_ptr;
};

TEST_F(EndToEnd, SynchronisationLeavesTheModelEqualToTheGatewayAndEventsChangeIt) {
  ASSERT_TRUE(rig.start_gateway(
      sim,
      "TX_LEVEL 00 6\rLINE_TYPE 02 SATCOM\rSQUELCH_TYPE 03 CTCSS\rCONNECT_S 00 01\r"
      "CONNECT_S 06 11\rMON 04 06 ON\rPIN 1234 5\rSECURITY_MODE EXCLUSIVE\r"));
  const char lineup[] = "11342015340125304115302415";  // the simulator's default, port 00 on
  for (int port = 0; port < kPortCount; ++port) {
    EXPECT_EQ(rig.port(port).mod_type, static_cast<std::uint32_t>(lineup[port] - '0')) << port;
  }
  EXPECT_EQ(rig.port(0).settings.tx_level, 6);
  EXPECT_EQ(rig.port(2).settings.line_type, 0);
  EXPECT_EQ(rig.port(3).settings.squelch_type, 17u);
  EXPECT_EQ((std::vector<int>{rig.port(0).net, rig.port(1).net, rig.port(6).net, rig.port(11).net,
                              rig.port(2).net}),
            (std::vector<int>{1, 1, 2, 2, GROUP_NONE}));
  EXPECT_TRUE(rig.model.IsMonitoring(4, 6));
  EXPECT_EQ(rig.state.security_mode.load(), 12);
  EXPECT_EQ(rig.pins.entry(0).level, 5);

  EXPECT_EQ(sim.control("connect 8 9"), "ok");
  ASSERT_TRUE(rig.pump_until([&] { return rig.port(8).net != GROUP_NONE; }));
  EXPECT_EQ(rig.port(8).bus, rig.port(9).bus);
  EXPECT_EQ(sim.control("disc 8"), "ok");
  ASSERT_TRUE(rig.pump_until([&] { return rig.port(9).bus == GROUP_NONE; }));
}

// The test stores the steps a gesture stores and sends its lines; after each action the
// gateway's relay image must be the controller's.
TEST_F(EndToEnd, DischGroupBuiltAndBrokenUpAgreesWithTheGateway) {
  ASSERT_TRUE(rig.start_gateway(sim));
  const auto steps = [&](int port, std::uint32_t connect, std::uint32_t disch, int partner) {
    PortRecord record = rig.port(port);
    record.connect_step = connect;
    record.disch_step = disch;
    record.pending_partner = static_cast<std::uint16_t>(partner);
    record.pending_bus = GROUP_NONE;
    rig.model.SetPort(port, record);
  };
  // While a DISCH group exists, the connection list ends with the relay image.
  const auto agree = [&](const std::string& head, bool grouped) {
    const std::string image = head + std::string(50, '0');
    EXPECT_EQ(sim.control("ask CONNECT_S ALL ?"), "ok %CONNECT_S 00 01 E0 | %CONNECT_S 03 06 E0" +
                                                      (grouped ? " | %RELAY " + image : ""));
    EXPECT_EQ(sim.control("relay ?"), "ok %RELAY " + image);
    char line[kRelayLineLength + 1];
    format_relay_line(rig.model, line);
    EXPECT_EQ(std::string(line + 6, 64), image);
  };
  for (const auto& [s, t, line] :
       {std::tuple{0, 1, "CONNECT_S 00 01"}, {3, 6, "CONNECT_S 03 06"}}) {
    steps(s, 2, 0, PORT_NONE);  // two free ports
    steps(t, 0, 0, PORT_NONE);
    send(line);
  }
  ASSERT_TRUE(
      settle([&] { return rig.port(1).net != GROUP_NONE && rig.port(6).net != GROUP_NONE; }));
  agree("40400060000060", false);

  // 00 and 03, connected on different buses, split into a DISCH group.
  steps(0, 0, 1, PORT_NONE);
  steps(3, 0, 5, 0);
  send("DISCH 00");
  send("DISCH 03");
  ASSERT_TRUE(settle([&] { return rig.port(3).disch_group != GROUP_NONE; }));
  agree("41400061000060", true);

  // The idle line 02 joins the group.
  steps(2, 7, 0, PORT_NONE);
  send("CONNECT_S 02 00");
  ASSERT_TRUE(settle([&] { return rig.port(2).disch_group == rig.port(0).disch_group; }));
  agree("41400161000060", true);

  // The line leaves; with two members left the group stays.
  rig.pending.Add(3, static_cast<std::uint8_t>(rig.model.OtherGroupMember(2)), 0, 0);
  steps(2, 0, 2, PORT_NONE);
  send("DISC_S 02");
  ASSERT_TRUE(settle([&] { return rig.port(2).disch_group == GROUP_NONE; }));
  agree("41400061000060", true);

  // The last but one leaves: the gateway reports the one left, which then leaves the group too.
  rig.pending.Add(3, static_cast<std::uint8_t>(rig.model.OtherGroupMember(3)), 0, 0);
  steps(3, 0, 6, rig.model.FindPartner(3));
  send("DISCH 03");
  ASSERT_TRUE(settle([&] { return rig.port(3).disch_group == GROUP_NONE; }));
  agree("40400060000060", false);
}

// On its own threads the controller saves and replays after a gateway restart: the gateway's
// connections come back as they were (the lines themselves are checked by the files' tests).
TEST_F(EndToEnd, AGatewayRestartIsFollowedByTheReplay) {
  rig.hooks.forward_saves = &rig.files;
  ASSERT_TRUE(rig.start_gateway(
      sim, "CONF ALL ON\rCONNECT_S 00 01\rCONNECT_S 06 00\rCONNECT_S 11 17\rMON 04 06 ON\r"));
  ASSERT_TRUE(rig.pump_until([&] { return rig.port(17).net != GROUP_NONE; }));
  const std::string connections = "ok %CONNECT_S 00 01 06 E0 | %CONNECT_S 11 17 E0";
  EXPECT_EQ(sim.control("ask CONNECT_S ALL ?"), connections);

  EXPECT_EQ(sim.control("restart"), "ok");
  ASSERT_TRUE(rig.pump_until([&] {
    return rig.hooks.restores.load() == 1 && !rig.state.replay_running.load() &&
           rig.channel.queued_lines() == 0 && rig.port(17).net != GROUP_NONE &&
           rig.state.input_ready.load();
  }));
  EXPECT_TRUE(std::filesystem::exists(rig.files.folder() / "AutoS2.mav"));
  EXPECT_EQ(sim.control("ask CONNECT_S ALL ?"), connections);
  EXPECT_EQ(sim.control("ask MON ALL ?"), "ok %MON 04 06 ON E0");
}

}  // namespace
}  // namespace mav
