// CONNECT and CONNECT_S: group merges, every connect step, refusals, the dial marker, and the
// RELAY report that follows on a network channel.
#include "protocol/DispatcherFixture.h"

namespace mav {
namespace {

using Lines = std::vector<std::string>;
using Move = test::RecordingFrontend::Move;

class ConnectTest : public test::DispatcherTest {
 protected:
  void SetSteps(int port, std::uint32_t connect_step, std::uint16_t partner = PORT_NONE,
                std::uint16_t pending_bus = GROUP_NONE) {
    PortRecord record = Port(port);
    record.connect_step = connect_step;
    record.pending_partner = partner;
    record.pending_bus = pending_bus;
    Store(port, record);
  }
  std::vector<std::string> RelayLines() const {
    std::vector<std::string> relays;
    for (const std::string& line : sender.lines()) {
      if (line.rfind("RELAY ", 0) == 0) relays.push_back(line);
    }
    return relays;
  }
};

TEST_F(ConnectTest, AsynchronousConnectOfTwoFreePorts) {
  Place(3, 1);
  Place(7, 3);
  Feed("%CONNECT 03 07 E0");
  EXPECT_EQ(Port(3).bus, 0);
  EXPECT_EQ(Port(7).bus, 0);
  EXPECT_EQ(Port(3).net, 1);
  EXPECT_EQ(Port(7).net, 1);
  EXPECT_EQ(LogMessages(), Lines{"03 was connected to 07"});
  EXPECT_EQ(frontend.sounds(), Lines{"LongConnect.wav"});
  EXPECT_EQ(frontend.moves(), (std::vector<Move>{{3, GROUP_NONE, 1}, {7, GROUP_NONE, 1}}));
  EXPECT_EQ(frontend.last_status_text(), "Asynchronous CONNECT received");
  EXPECT_TRUE(state.input_ready);  // quiet ending
}

TEST_F(ConnectTest, AsynchronousConnectJoinsTheBusAlreadyInUse) {
  Place(1, 1, 0, 2);
  Place(2, 1, 0, 2);
  Place(5, 2);
  state.sound_on = false;
  Feed("%CONNECT 01 05 E0");
  EXPECT_EQ(Port(5).bus, 0);
  EXPECT_EQ(Port(5).bus_link, 2);
  EXPECT_TRUE(frontend.sounds().empty());
}

TEST_F(ConnectTest, AsynchronousConnectOfTwoBusesMovesTheListedPorts) {
  Place(1, 1, 0, 1);
  Place(2, 1, 0, 1);
  Place(5, 2, 1);
  Place(6, 2, 1);
  Feed("%CONNECT 01 05 E0");
  EXPECT_EQ(Port(1).bus_link, GROUP_NONE);
  EXPECT_EQ(Port(5).bus, 0);
  EXPECT_EQ(Port(5).bus_link, GROUP_NONE);
  EXPECT_EQ(Port(6).bus, GROUP_NONE);  // left alone on its bus
}

TEST_F(ConnectTest, AsynchronousConnectIntoADischGroup) {
  Place(1, 1, 0, GROUP_NONE, 3);
  Place(2, 1, 0, GROUP_NONE, 3);
  Place(5, 2);
  Feed("%CONNECT 01 05 E0");
  EXPECT_EQ(Port(5).disch_group, 3);
  EXPECT_EQ(Port(5).bus, GROUP_NONE);
}

TEST_F(ConnectTest, AsynchronousConnectThatChangesNothingAborts) {
  Place(1, 1, 0);
  Place(2, 1, 0);
  Feed("%CONNECT 01 02 E0");
  EXPECT_EQ(LogMessages(), Lines{"01 was connected to 02"});
  EXPECT_TRUE(frontend.status_texts().empty());
  EXPECT_TRUE(frontend.moves().empty());

  Feed("%CONNECT 03 04 E2");
  EXPECT_EQ(LogMessages().size(), 1u);
}

TEST_F(ConnectTest, RefusalsShowTheirBoxesAndChangeNothing) {
  Place(3, 1);
  Place(7, 1);
  Feed("%CONNECT_S 03 07 E8");
  Feed("%CONNECT_S 03 07 E16");
  Feed("%CONNECT_S 03 07 E3");
  const auto boxes = frontend.boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "Can't make connection: No audio busses available");
  EXPECT_EQ(boxes[1].text, "Can't make connection: Conferencing not enabled");
  for (const auto& box : boxes) {
    EXPECT_EQ(box.caption, "MAV Controller");
    EXPECT_EQ(box.icon, MessageIcon::Exclamation);
  }
  EXPECT_EQ(Port(3).bus, GROUP_NONE);
  EXPECT_TRUE(LogMessages().empty());
  EXPECT_TRUE(state.input_ready);
}

TEST_F(ConnectTest, StepZeroTakesTheLowestFreeBus) {
  Place(3, 1);
  Place(7, 3);
  Place(9, 1, 0);
  Place(10, 1, 0);
  state.network_mode = true;
  Feed("%CONNECT_S 03 07 E0");
  EXPECT_EQ(Port(3).bus, 1);
  EXPECT_EQ(Port(7).bus, 1);
  EXPECT_EQ(Port(3).net, 1);  // lowest port first
  EXPECT_EQ(LogMessages(), Lines{"03 was connected to 07"});
  EXPECT_TRUE(RelayLines().empty());  // an asynchronous settle reports nothing
  EXPECT_EQ(frontend.last_status_text(), "Processing commands from the MAV");
}

TEST_F(ConnectTest, StepZeroWithABusFromAListedPortLeavesThePortWithoutOne) {
  Place(3, 1);
  Place(7, 1, 2);
  Place(8, 1, 2);
  Feed("%CONNECT_S 03 07 E0");
  EXPECT_EQ(Port(3).bus, GROUP_NONE);
  EXPECT_EQ(Port(7).bus, 2);
}

TEST_F(ConnectTest, StepTwoFromThePendingTableMakesANewBusAndReports) {
  Place(3, 1, 0);
  Place(4, 1, 0);
  Place(7, 2);
  ASSERT_TRUE(pending.Add(1, 3, 2, 0));
  state.network_mode = true;
  Feed("%CONNECT_S 03 07 E0");
  EXPECT_EQ(Port(3).bus, 1);
  EXPECT_EQ(Port(7).bus, 1);
  EXPECT_EQ(Port(3).connect_step, 0u);
  EXPECT_EQ(Port(4).bus, GROUP_NONE);  // left alone on the old bus
  std::uint8_t d1 = 0, d2 = 0;
  EXPECT_FALSE(pending.Take(1, 3, d1, d2));
  EXPECT_EQ(RelayLines().size(), 1u);
  EXPECT_FALSE(sender.expects_reply().back());
}

TEST_F(ConnectTest, StepThreeLinksBothBuses) {
  Place(1, 1, 0);
  Place(2, 1, 0);
  Place(5, 2, 1);
  Place(6, 2, 1);
  SetSteps(1, 3, 5);
  Feed("%CONNECT_S 01 05 E0");
  for (int port : {1, 2, 5, 6}) EXPECT_EQ(Port(port).bus_link, 0) << port;
  EXPECT_EQ(Port(1).connect_step, 0u);
  EXPECT_EQ(Port(1).pending_partner, PORT_NONE);
}

TEST_F(ConnectTest, StepFourFormsANewDischGroup) {
  Place(1, 1, 0, GROUP_NONE, 0);
  Place(2, 1, 0, GROUP_NONE, 0);
  Place(5, 2, 1);
  Place(6, 2, 1);
  SetSteps(5, 4);
  Feed("%CONNECT_S 05 06 E0");
  EXPECT_EQ(Port(5).disch_group, 1);
  EXPECT_EQ(Port(6).disch_group, 1);
}

TEST_F(ConnectTest, StepFiveTakesThePendingBusAndTheListedLink) {
  Place(4, 1);
  Place(8, 1, 3, 1);
  Place(9, 1, 3, 1);
  SetSteps(4, 5, 8, 3);
  Feed("%CONNECT_S 04 08 E0");
  EXPECT_EQ(Port(4).bus, 3);
  EXPECT_EQ(Port(4).bus_link, 1);
  EXPECT_EQ(Port(4).connect_step, 0u);
}

TEST_F(ConnectTest, StepSixSpreadsTheLinkAndListedPortsKeepTheirPartner) {
  Place(1, 1, 0, 2);
  Place(2, 1, 0, 2);
  Place(5, 2, 1);
  Place(6, 2, 1);
  SetSteps(1, 6);
  SetSteps(5, 3, 1);
  Feed("%CONNECT_S 01 05 E0");
  EXPECT_EQ(Port(5).bus_link, 2);
  EXPECT_EQ(Port(6).bus_link, 2);
  EXPECT_EQ(Port(5).connect_step, 0u);
  EXPECT_EQ(Port(5).pending_partner, 1);
}

TEST_F(ConnectTest, StepSevenJoinsTheListedDischGroup) {
  Place(1, 1, 0);
  Place(2, 1, 0);
  Place(5, 2, 1, GROUP_NONE, 3);
  Place(6, 2, 1, GROUP_NONE, 3);
  SetSteps(1, 7);
  Feed("%CONNECT_S 01 05 E0");
  EXPECT_EQ(Port(1).disch_group, 3);
  EXPECT_EQ(Port(5).disch_group, 3);
}

TEST_F(ConnectTest, StepEightHandsThePortsGroupToTheListedPorts) {
  Place(1, 1, 0, GROUP_NONE, 2);
  Place(2, 1, 0, GROUP_NONE, 2);
  Place(5, 2, 1);
  Place(6, 2, 1);
  SetSteps(1, 8, 5);
  PortRecord listed = Port(5);
  listed.connect_step = 4;
  listed.disch_step = 1;
  listed.pending_partner = 9;
  Store(5, listed);
  Feed("%CONNECT_S 01 05 E0");
  EXPECT_EQ(Port(5).disch_group, 2);
  EXPECT_EQ(Port(5).connect_step, 0u);
  EXPECT_EQ(Port(5).disch_step, 0u);
  EXPECT_EQ(Port(5).pending_partner, 9);
  EXPECT_EQ(Port(1).pending_partner, PORT_NONE);
}

TEST_F(ConnectTest, StepOneOnlyReports) {
  Place(1, 1, 0);
  Place(2, 1, 0);
  SetSteps(1, 1);
  state.network_mode = true;
  Feed("%CONNECT_S 01 05 E0");
  EXPECT_EQ(Port(1).bus, 0);
  EXPECT_EQ(Port(5).bus, GROUP_NONE);
  EXPECT_EQ(RelayLines().size(), 1u);
}

TEST_F(ConnectTest, StepNineClearsTheStepReportsAndAborts) {
  Place(3, 3);
  Place(7, 3);
  ASSERT_TRUE(pending.Add(1, 3, 9, 0));
  state.network_mode = true;
  Feed("%CONNECT_S 03 07 E0");
  EXPECT_EQ(Port(3).connect_step, 0u);
  EXPECT_EQ(Port(3).bus, GROUP_NONE);
  EXPECT_EQ(RelayLines().size(), 1u);
  EXPECT_TRUE(state.input_ready);
  EXPECT_EQ(LogMessages(), Lines{"03 was connected to 07"});
}

TEST_F(ConnectTest, DialMarkerOffersTheDialDialogForIdleLines) {
  Place(3, 3);
  Place(7, 3);
  Place(8, 1);
  PortRecord busy = Port(7);
  busy.settings.on_hook = 0;
  Store(7, busy);

  Feed("%CONNECT_S 03 07 08 E0");
  EXPECT_TRUE(hooks.dial_ports.empty());  // no marker, no dialog

  ASSERT_TRUE(pending.Add(1, 122, 0, 0));
  Feed("%CONNECT_S 03 07 08 E0");
  EXPECT_EQ(hooks.dial_ports, std::vector<int>{3});
  std::uint8_t d1 = 0, d2 = 0;
  EXPECT_FALSE(pending.Take(1, 122, d1, d2));
}

TEST_F(ConnectTest, RelayLineEncodesEveryPortAndDropsNetSeven) {
  for (int bus = 0; bus < 7; ++bus) {
    Place(2 * bus, 1, bus);
    Place(2 * bus + 1, 1, bus);
  }
  PortRecord linked = Port(2);
  linked.bus_link = 0;
  linked.disch_group = 1;
  Store(2, linked);
  linked = Port(3);
  linked.bus_link = 0;
  Store(3, linked);

  dispatcher.send_relay_state();
  const Lines lines = sender.lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0],
            "RELAY 40406a688080a0a0c0c0e0e00000"
            "000000000000000000000000000000000000\r");
  EXPECT_EQ(lines[0].size(), 71u);
  EXPECT_FALSE(sender.expects_reply()[0]);
}

TEST_F(ConnectTest, RelayReplyIsDecodedIntoTheModel) {
  Place(0, 1, 4, 3, 2);
  Place(9, 1, 4, 3, 2);
  Feed("%RELAY 406a");
  PortRecord first = Port(0);
  EXPECT_EQ(first.net, 1);
  EXPECT_EQ(first.bus, 1);
  EXPECT_EQ(first.bus_link, GROUP_NONE);
  EXPECT_EQ(first.disch_group, GROUP_NONE);
  PortRecord second = Port(1);
  EXPECT_EQ(second.net, 2);
  EXPECT_EQ(second.bus, 2);
  EXPECT_EQ(second.bus_link, 0);
  EXPECT_EQ(second.disch_group, 1);
  EXPECT_EQ(Port(9).bus, GROUP_NONE);  // no bytes for it: no groups
  EXPECT_TRUE(state.input_ready);
}

}  // namespace
}  // namespace mav
