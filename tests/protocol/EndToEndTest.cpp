// The controller's core against the gateway simulator, over loopback TCP and over a
// pseudo-terminal, with the real worker thread: the start-up synchronisation must leave the model
// equal to the gateway, and the gateway's events must change model and log as they should.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "protocol/ControllerRig.h"
#include "sim/SimProcess.h"

namespace mav {
namespace {

using sim::test::LineChannel;
using sim::test::SimProcess;
using test::ControllerRig;
using test::ScratchDirectory;

// The simulator's default module line-up, port 00 to 25.
constexpr std::array<std::uint32_t, kPortCount> kLineup = {1, 1, 3, 4, 2, 0, 1, 5, 3, 4, 0, 1, 2,
                                                           5, 3, 0, 4, 1, 1, 5, 3, 0, 2, 4, 1, 5};
constexpr const char* kNames[] = {"", "TOV-5", "MEK-4", "LINE-7", "VOQ-3", "HK-6"};

// Gateway state set up before the controller connects, by another client of the gateway.
void prepare_gateway(int tcp_port) {
  LineChannel gateway(sim::test::connect_loopback(tcp_port), '\r');
  gateway.send(
      "TX_LEVEL 00 6\rDUPLEX 01 HALF\rLINE_TYPE 02 SATCOM\rSQUELCH_TYPE 03 CTCSS\r"
      "RING_CADENCE 07 EURO\rCONNECT_S 00 01\rCONNECT_S 06 11\rMON 04 06 ON\rPIN 1234 5\r"
      "SECURITY_MODE EXCLUSIVE\rSECURITY_MODE ?\r");
  // The set and the query both answer; the query's answer comes last.
  int answers = 0;
  while (std::optional<std::string> line = gateway.read_line()) {
    if (line->rfind("%SECURITY_MODE", 0) == 0 && ++answers == 2) break;
  }
}

bool lineup_known(const ControllerRig& rig) {
  for (int port = 0; port < kPortCount; ++port) {
    if (rig.port(port).mod_type != kLineup[static_cast<std::size_t>(port)]) return false;
  }
  return true;
}

void expect_lineup(const ControllerRig& rig) {
  for (int port = 0; port < kPortCount; ++port) {
    const PortRecord record = rig.port(port);
    EXPECT_EQ(record.mod_type, kLineup[static_cast<std::size_t>(port)]) << port;
    EXPECT_STREQ(record.port_name, kNames[record.mod_type]) << port;
  }
}

class EndToEndTcp : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim_.start({"--tcp", "127.0.0.1:0", "--control-port", "0", "--transcript",
                            (rig_->scratch / "transcript.txt").string()}));
    sim_.close_stdin();
    prepare_gateway(sim_.tcp_port);
    ASSERT_TRUE(rig_->synchronise_over_tcp(sim_.tcp_port));
  }

  SimProcess sim_;
  std::unique_ptr<ControllerRig> rig_ = std::make_unique<ControllerRig>();
};

TEST_F(EndToEndTcp, SynchronisationLeavesTheModelEqualToTheGateway) {
  ControllerRig& rig = *rig_;
  expect_lineup(rig);
  EXPECT_TRUE(rig.logged("*** Received system information from MAV-7700"));

  EXPECT_EQ(rig.port(0).settings.tx_level, 6);
  EXPECT_EQ(rig.port(1).settings.duplex, 0);
  EXPECT_EQ(rig.port(2).settings.line_type, 0);
  EXPECT_EQ(rig.port(3).settings.squelch_type, 17u);
  EXPECT_EQ(rig.port(7).settings.ring_cadence, 0);

  EXPECT_NE(rig.port(0).bus, GROUP_NONE);
  EXPECT_EQ(rig.port(0).bus, rig.port(1).bus);
  EXPECT_NE(rig.port(0).net, GROUP_NONE);
  EXPECT_EQ(rig.port(0).net, rig.port(1).net);
  EXPECT_NE(rig.port(6).net, GROUP_NONE);
  EXPECT_EQ(rig.port(6).net, rig.port(11).net);
  EXPECT_NE(rig.port(6).net, rig.port(0).net);
  EXPECT_EQ(rig.port(2).net, GROUP_NONE);

  EXPECT_TRUE(rig.model.IsMonitoring(4, 6));
  EXPECT_EQ(rig.model.MonitorCount(4), 1);
  EXPECT_EQ(rig.state.security_mode.load(), 12);
  EXPECT_EQ(rig.pins.entry(0).pin, 1234);
  EXPECT_EQ(rig.pins.entry(0).level, 5);
  EXPECT_EQ(rig.pins.entry(1).level, kPinLevelUnused);
  for (int port = 0; port < kPortCount; ++port) {
    if (rig.port(port).mod_type != 0) {
      EXPECT_EQ(rig.port(port).settings.on_hook, 1) << port;
    }
  }
}

TEST_F(EndToEndTcp, GatewayEventsChangeModelAndLog) {
  ControllerRig& rig = *rig_;
  EXPECT_EQ(sim_.control("connect 8 9"), "ok");
  ASSERT_TRUE(rig.pump_until([&] { return rig.logged("08 was connected to 09"); }));
  ASSERT_TRUE(rig.pump_until([&] { return rig.port(8).net != GROUP_NONE; }));
  EXPECT_EQ(rig.port(8).bus, rig.port(9).bus);

  EXPECT_EQ(sim_.control("disc 8"), "ok");
  ASSERT_TRUE(rig.pump_until([&] { return rig.port(9).bus == GROUP_NONE; }));
  EXPECT_EQ(rig.port(8).bus, GROUP_NONE);
  EXPECT_TRUE(rig.logged("08 was disconnected"));

  EXPECT_EQ(sim_.control("cor 5"), "ok");
  ASSERT_TRUE(rig.pump_until([&] { return rig.port(2).cor_active == 1; }));
  EXPECT_EQ(rig.port(0).cor_active, 1);
  EXPECT_EQ(rig.port(1).cor_active, 0);

  EXPECT_EQ(sim_.control("hook 2 off"), "ok");
  ASSERT_TRUE(rig.pump_until([&] { return rig.port(2).settings.on_hook == 0; }));

  EXPECT_EQ(sim_.control("pin 3 7 4444"), "ok");
  ASSERT_TRUE(rig.pump_until([&] {
    return rig.logged("Unrecognized PIN entered from port 03 attempting to access port 07");
  }));
  EXPECT_EQ(sim_.control("pin 3 7 1234 0"), "ok");
  ASSERT_TRUE(rig.pump_until(
      [&] { return rig.logged("PIN \"\" entered from port 03 to access port 07"); }));

  EXPECT_EQ(sim_.control("remove 12"), "ok");
  ASSERT_TRUE(rig.pump_until([&] { return rig.port(12).mod_type == 0; }));
  EXPECT_EQ(rig.hooks.released_icons(), (std::vector<std::pair<int, int>>{{12, -1}}));

  EXPECT_EQ(sim_.control("insert 12 3"), "ok");
  ASSERT_TRUE(rig.pump_until([&] { return rig.port(12).mod_type == 3; }));
  EXPECT_STREQ(rig.port(12).port_name, "LINE-7");

  EXPECT_EQ(sim_.control("restart"), "ok");
  ASSERT_TRUE(rig.pump_until([&] { return rig.hooks.restores.load() == 1; }));
}

TEST(EndToEndSerial, SynchronisationAndEventsOverAPseudoTerminal) {
  const ScratchDirectory link_dir;
  const std::filesystem::path link = link_dir / "gateway";
  SimProcess sim;
  auto rig = std::make_unique<ControllerRig>();
  ASSERT_TRUE(sim.start({"--pty", link.string(), "--control-port", "0", "--transcript",
                         (rig->scratch / "transcript.txt").string()}));
  sim.close_stdin();
  rig->worker.start();
  ASSERT_TRUE(rig->channel.open_serial(sim.pty_device, 9600));
  rig->commands.synchronise();
  ASSERT_TRUE(rig->pump_until([&] {
    return lineup_known(*rig) && rig->state.mek_squelch_type.load() != -1 &&
           rig->state.input_ready.load();
  }));
  expect_lineup(*rig);
  EXPECT_EQ(rig->hooks.site_name_loads.load(), 1);

  EXPECT_EQ(sim.control("connect 0 1"), "ok");
  ASSERT_TRUE(rig->pump_until([&] { return rig->port(0).net != GROUP_NONE; }));
  EXPECT_EQ(sim.control("disc all"), "ok");
  ASSERT_TRUE(rig->pump_until([&] { return rig->logged("All ports disconnected"); }));
  ASSERT_TRUE(rig->pump_until([&] { return rig->port(0).bus == GROUP_NONE; }));
  std::error_code ignored;
  std::filesystem::remove_all(link.parent_path(), ignored);
}

}  // namespace
}  // namespace mav
