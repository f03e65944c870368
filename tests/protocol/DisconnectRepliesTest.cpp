// DISC, DISC_S, DISCH (every step) and MON; the release and bus-dissolving rules they use.
#include "protocol/DispatcherFixture.h"

namespace mav {
namespace {

using Lines = std::vector<std::string>;

class DisconnectTest : public test::DispatcherTest {
 protected:
  void SetDisch(int port, std::uint32_t disch_step, std::uint16_t partner = PORT_NONE) {
    PortRecord record = Port(port);
    record.disch_step = disch_step;
    record.pending_partner = partner;
    Store(port, record);
  }
  void OffHook(int port) {
    PortRecord record = Port(port);
    record.settings.on_hook = 0;
    Store(port, record);
  }
};

TEST_F(DisconnectTest, DiscAllReleasesEveryModulePortOnHook) {
  Place(1, 1, 0);
  Place(2, 3, 0);
  OffHook(2);
  model.RenumberNets();
  Feed("%DISC ALL E0");
  for (int port : {1, 2}) {
    EXPECT_EQ(Port(port).bus, GROUP_NONE);
    EXPECT_EQ(Port(port).net, GROUP_NONE);
    EXPECT_EQ(Port(port).settings.on_hook, 1);
  }
  EXPECT_EQ(LogMessages(), Lines{"All ports disconnected"});
  EXPECT_EQ(frontend.sounds(), Lines{"Disconnect.wav"});
  const Lines texts = frontend.status_texts();
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[texts.size() - 2], "Asynchronous DISC received");
  EXPECT_EQ(texts.back(), "Processing commands from the MAV");
}

TEST_F(DisconnectTest, DiscOfOnePortKeepsTheRestOfTheBus) {
  Place(1, 1, 0);
  Place(2, 1, 0);
  Place(3, 1, 0);
  Feed("%DISC 02 E0");
  EXPECT_EQ(Port(2).bus, GROUP_NONE);
  EXPECT_EQ(Port(1).bus, 0);
  EXPECT_EQ(Port(3).bus, 0);
  EXPECT_EQ(LogMessages(), Lines{"02 was disconnected"});

  Feed("%DISC 01 E4");  // refused: handled, nothing changes
  EXPECT_EQ(Port(1).bus, 0);
  EXPECT_FALSE(state.input_ready);
}

TEST_F(DisconnectTest, ReleasingTheLastButOnePortOfALinkedBusDisconnectsTheLoneOne) {
  Place(1, 1, 0, 0);
  Place(2, 1, 0, 0);
  Place(5, 1, 1, 0);
  Place(6, 1, 1, 0);
  Feed("%DISC 02 E0");
  EXPECT_EQ(sender.lines(), Lines{"DISC 01\r"});
  EXPECT_EQ(Port(1).bus, GROUP_NONE);
  EXPECT_EQ(Port(1).bus_link, GROUP_NONE);
  EXPECT_EQ(Port(5).bus_link, GROUP_NONE);  // the link joins one bus only now
  EXPECT_EQ(Port(5).bus, 1);
}

TEST_F(DisconnectTest, ReleasingAPortDissolvesADischGroupLeftWithOneMember) {
  Place(1, 1, 0, GROUP_NONE, 0);
  Place(2, 1, 0, GROUP_NONE, 0);
  Place(3, 1, 0);
  Feed("%DISC 01 E0");
  EXPECT_EQ(Port(2).disch_group, GROUP_NONE);
  EXPECT_EQ(Port(2).bus, 0);
}

TEST_F(DisconnectTest, DiscSAfterADischStepReleasesThePortAndReports) {
  Place(1, 1, 0);
  Place(2, 1, 0);
  OffHook(2);
  SetDisch(2, 2);
  model.RenumberNets();
  state.network_mode = true;
  Feed("%DISC_S 02 E0");
  EXPECT_EQ(Port(2).bus, GROUP_NONE);
  EXPECT_EQ(Port(2).disch_step, 0u);
  EXPECT_EQ(Port(2).settings.on_hook, 1);
  EXPECT_EQ(Port(1).bus, GROUP_NONE);
  EXPECT_TRUE(frontend.moves().empty());  // a repaint instead of slides
  ASSERT_EQ(sender.lines().size(), 1u);
  EXPECT_EQ(sender.lines()[0].rfind("RELAY ", 0), 0u);
}

TEST_F(DisconnectTest, DiscSWithoutAStepOnlyMarksTheHook) {
  Place(1, 1, 0);
  Place(2, 1, 0);
  OffHook(2);
  state.selection = Selection::Port;
  Feed("%DISC_S 02 E0");
  EXPECT_EQ(Port(2).bus, 0);
  EXPECT_EQ(Port(2).settings.on_hook, 1);
  EXPECT_FALSE(state.selection_pending());
  EXPECT_EQ(LogMessages(), Lines{"02 was disconnected"});
}

TEST_F(DisconnectTest, DischAllReleasesWithoutMarkingHooks) {
  Place(1, 3, 0);
  Place(2, 3, 0);
  OffHook(1);
  Feed("%DISCH ALL E0");
  EXPECT_EQ(Port(1).bus, GROUP_NONE);
  EXPECT_EQ(Port(1).settings.on_hook, 0);
  EXPECT_EQ(LogMessages(), Lines{"All ports disconnected"});

  Place(3, 1, 1);
  Place(4, 1, 1);
  Feed("%DISCH ALL E1");
  EXPECT_EQ(Port(3).bus, 1);
}

TEST_F(DisconnectTest, DischStepZeroWithAPendingEntryReconnectsToThePartner) {
  Place(1, 1, 0, GROUP_NONE, 0);
  Place(2, 1, 0);
  Place(3, 1, 0, GROUP_NONE, 0);
  ASSERT_TRUE(pending.Add(3, 1, 0, 0));
  Feed("%DISCH 01 E0");
  const PortRecord record = Port(1);
  EXPECT_EQ(record.disch_group, GROUP_NONE);
  EXPECT_EQ(record.pending_partner, 2);
  EXPECT_EQ(record.connect_step, 1u);
  EXPECT_EQ(sender.lines(), Lines{"CONNECT_S 01 02\r"});
}

TEST_F(DisconnectTest, DischStepZeroWithoutAnEntryOnlyLeavesTheGroup) {
  Place(1, 1, 0, GROUP_NONE, 0);
  Place(2, 1, 0);
  Place(3, 1, 0, GROUP_NONE, 0);
  Feed("%DISCH 01 E0");
  EXPECT_EQ(Port(1).disch_group, GROUP_NONE);
  EXPECT_EQ(Port(1).connect_step, 0u);
  EXPECT_TRUE(sender.lines().empty());
}

TEST_F(DisconnectTest, DischStepZeroOfALonePortLeavesItsBus) {
  Place(4, 1, 5);
  Feed("%DISCH 04 E0");
  EXPECT_EQ(Port(4).bus, GROUP_NONE);
}

TEST_F(DisconnectTest, DischStepOne) {
  Place(1, 1, 0, 3, 0);
  Place(2, 1, 0, 3, 2);
  SetDisch(1, 1);
  SetDisch(2, 1);
  Feed("%DISCH 01 E0");
  EXPECT_EQ(Port(1).bus, GROUP_NONE);
  EXPECT_EQ(Port(1).bus_link, GROUP_NONE);
  EXPECT_EQ(Port(1).disch_step, 0u);
  Feed("%DISCH 02 E0");
  EXPECT_EQ(Port(2).disch_group, GROUP_NONE);
}

TEST_F(DisconnectTest, DischStepTwoWaitsForTheDiscS) {
  Place(1, 1, 0);
  Place(2, 1, 0);
  SetDisch(1, 2);
  Feed("%DISCH 01 E0");
  EXPECT_EQ(Port(1).disch_step, 2u);
  EXPECT_EQ(Port(1).bus, 0);
}

TEST_F(DisconnectTest, DischStepThreeMovesThePortToTheCarriedBus) {
  Place(1, 1, 0);
  Place(2, 1, 0);
  Place(5, 1, 4);
  Place(6, 1, 4);
  SetDisch(1, 3, 4);
  state.network_mode = true;
  Feed("%DISCH 01 E0");
  EXPECT_EQ(Port(1).bus, 4);
  EXPECT_EQ(Port(2).bus, GROUP_NONE);
  EXPECT_EQ(Port(1).net, Port(5).net);
  ASSERT_EQ(sender.lines().size(), 1u);
  EXPECT_EQ(sender.lines()[0].rfind("RELAY ", 0), 0u);
}

TEST_F(DisconnectTest, DischStepFourDissolvesALinkedPairAndConnectsOn) {
  Place(1, 1, 0, 0);
  Place(2, 1, 0, 0);
  Place(5, 1, 1, 0);
  Place(6, 1, 1, 0);
  Place(7, 1);
  SetDisch(1, 4, 7);
  Feed("%DISCH 01 E0");
  EXPECT_EQ(sender.lines(), (Lines{"DISC 02\r", "CONNECT_S 01 07\r"}));
  EXPECT_EQ(Port(1).bus, GROUP_NONE);
  EXPECT_EQ(Port(1).connect_step, 5u);
  EXPECT_EQ(Port(1).pending_bus, GROUP_NONE);
  EXPECT_EQ(Port(2).bus, GROUP_NONE);
  EXPECT_EQ(Port(5).bus_link, GROUP_NONE);
}

TEST_F(DisconnectTest, DischStepFiveChoosesTheNextStepByDischGroup) {
  Place(1, 1, 0);
  Place(2, 1, 0);
  Place(7, 1, 1, GROUP_NONE, 2);
  Place(8, 1, 1, GROUP_NONE, 2);
  Place(9, 1);
  SetDisch(1, 5, 7);
  Feed("%DISCH 01 E0");
  EXPECT_EQ(Port(1).connect_step, 7u);
  SetDisch(2, 5, 9);
  Feed("%DISCH 02 E0");
  EXPECT_EQ(Port(2).connect_step, 4u);
  EXPECT_EQ(sender.lines(), (Lines{"CONNECT_S 01 07\r", "CONNECT_S 02 09\r"}));
}

TEST_F(DisconnectTest, DischStepsSixToEightLeaveTheGroupAndConnectOn) {
  Place(1, 1, 0, 1, 0);
  Place(2, 1, 0, 1, 0);
  Place(3, 1, 0, 1, 0);
  Place(9, 1);
  SetDisch(1, 6, 9);
  SetDisch(2, 7, 9);
  SetDisch(3, 8, 9);
  Feed("%DISCH 01 E0");
  Feed("%DISCH 02 E0");
  Feed("%DISCH 03 E0");
  EXPECT_EQ(Port(1).connect_step, 1u);
  EXPECT_EQ(Port(2).connect_step, 7u);
  EXPECT_EQ(Port(3).connect_step, 1u);
  EXPECT_EQ(Port(3).bus_link, GROUP_NONE);
  for (int port : {1, 2, 3}) {
    EXPECT_EQ(Port(port).disch_group, GROUP_NONE);
    EXPECT_EQ(Port(port).disch_step, 0u);
  }
  EXPECT_EQ(sender.lines(), (Lines{"CONNECT_S 01 09\r", "CONNECT_S 02 09\r", "CONNECT_S 03 09\r"}));
}

TEST_F(DisconnectTest, DischStepFromThePendingTableAndWithoutAPartner) {
  Place(1, 1, 0, 1, 0);
  Place(2, 1, 0, 1, 0);
  SetDisch(1, 6);
  ASSERT_TRUE(pending.Add(3, 1, 8, 9));
  Feed("%DISCH 01 E0");
  EXPECT_EQ(Port(1).pending_partner, 9);
  EXPECT_EQ(Port(1).bus_link, GROUP_NONE);
  EXPECT_EQ(sender.lines(), Lines{"CONNECT_S 01 09\r"});

  SetDisch(2, 6);
  Feed("%DISCH 02 E0");
  EXPECT_EQ(Port(2).connect_step, 0u);
  EXPECT_EQ(sender.lines().size(), 1u);
}

TEST_F(DisconnectTest, MonitorRelationsAreLoggedOncePerChange) {
  Place(4, 2);
  Place(7, 1);
  Place(9, 1);
  Feed("%MON 04 07 ON E0");
  Feed("%MON 04 07 ON E0");
  Feed("%MON 04 09 ON E0");
  EXPECT_TRUE(model.IsMonitoring(4, 7));
  EXPECT_EQ(model.MonitorCount(4), 2);
  Feed("%MON 04 07 OFF E0");
  EXPECT_FALSE(model.IsMonitoring(4, 7));
  EXPECT_TRUE(model.IsMonitoring(4, 9));
  EXPECT_EQ(LogMessages(), (Lines{"04 began monitoring 07", "04 began monitoring 09",
                                  "04 stopped monitoring 07"}));
  EXPECT_TRUE(state.input_ready);
}

}  // namespace
}  // namespace mav
