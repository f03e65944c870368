#include <gtest/gtest.h>

#include "GatewayTestSupport.h"

namespace mav::sim::test {
namespace {

class ThreeBusGateway : public GatewayTest {
 protected:
  ThreeBusGateway() : GatewayTest(3) {}
};

TEST_F(ThreeBusGateway, EachNewPairTakesAFreeBusUntilNoneIsLeft) {
  EXPECT_EQ(ask_one("FREE_BUS ?"), "%FREE_BUS 3 E0");
  EXPECT_EQ(ask_one("CONNECT_S 00 01"), "%CONNECT_S 00 01 E0");
  EXPECT_EQ(ask_one("CONNECT_S 02 03"), "%CONNECT_S 02 03 E0");
  EXPECT_EQ(ask_one("CONNECT 04 05"), "%CONNECT 04 05 E0");
  EXPECT_EQ(ask_one("FREE_BUS ?"), "%FREE_BUS 0 E0");
  EXPECT_EQ(ask_one("CONNECT_S 06 07"), "%CONNECT_S 06 07 E8");
  EXPECT_EQ(ask_one("CONNECT 06 07"), "%CONNECT 06 07 E8");

  // Releasing one pair frees its bus for the refused one.
  EXPECT_EQ(ask_one("DISC_S 02"), "%DISC_S 02 E0");
  EXPECT_EQ(ask_one("CONNECT_S 06 07"), "%CONNECT_S 06 07 E0");
}

TEST_F(ThreeBusGateway, JoiningABusThatIsInUseNeedsNoNewBus) {
  tell({"CONF ALL ON", "CONNECT_S 00 01", "CONNECT_S 02 03", "CONNECT_S 04 05"});
  EXPECT_EQ(ask_one("CONNECT_S 06 00"), "%CONNECT_S 06 00 E0");
  EXPECT_EQ(ask("CONNECT_S ALL ?"),
            (Lines{"%CONNECT_S 00 01 06 E0", "%CONNECT_S 02 03 E0", "%CONNECT_S 04 05 E0"}));
}

TEST_F(GatewayTest, ConnectionListNamesExactlyTheBusesWithTwoOrMorePorts) {
  EXPECT_EQ(ask("CONNECT_S ALL ?"), (Lines{"% E4"}));
  tell({"CONF ALL ON", "CONNECT_S 05 00", "CONNECT_S 03 06", "CONNECT_S 07 05"});
  EXPECT_EQ(ask("CONNECT_S ALL ?"), (Lines{"%CONNECT_S 00 05 07 E0", "%CONNECT_S 03 06 E0"}));

  // A bus left with one port is released: that port hears nobody.
  ask("DISC 03");
  EXPECT_EQ(ask("CONNECT_S ALL ?"), (Lines{"%CONNECT_S 00 05 07 E0"}));
  tell({"DISCH 05", "DISC_S 07"});
  EXPECT_EQ(ask("CONNECT_S ALL ?"), (Lines{"% E4"}));
  EXPECT_EQ(ask_one("FREE_BUS ?"), "%FREE_BUS 7 E0");
}

TEST_F(GatewayTest, ConferencesNeedConferencingOnTheNamedPorts) {
  EXPECT_EQ(ask_one("CONNECT_S 00 02"), "%CONNECT_S 00 02 E0");
  // A third port on the bus makes a conference; CONF is off from the factory.
  EXPECT_EQ(ask_one("CONNECT_S 03 00"), "%CONNECT_S 03 00 E16");
  EXPECT_EQ(ask_one("CONF 03 ON"), "%CONF 03 ON E0");
  EXPECT_EQ(ask_one("CONNECT_S 03 00"), "%CONNECT_S 03 00 E16");
  EXPECT_EQ(ask_one("CONF 00 ON"), "%CONF 00 ON E0");
  EXPECT_EQ(ask_one("CONNECT_S 03 00"), "%CONNECT_S 03 00 E0");
  // The handset has no conferencing switch and never refuses.
  EXPECT_EQ(ask_one("CONNECT_S 01 03"), "%CONNECT_S 01 03 E0");
}

TEST_F(GatewayTest, PortsOfTwoBusesAreLinkedNotMoved) {
  tell({"CONF ALL ON", "CONNECT_S 00 02", "CONNECT_S 03 04"});
  EXPECT_EQ(ask_one("CONNECT_S 00 03"), "%CONNECT_S 00 03 E0");
  EXPECT_EQ(ask("CONNECT_S ALL ?"), (Lines{"%CONNECT_S 00 02 E0", "%CONNECT_S 03 04 E0"}));
  // Relay image: bus + 1 in the top bits, link + 1 in the middle, no DISCH group.
  // ports 0 to 4: bus 1 link 1, nothing, bus 1 link 1, bus 2 link 1, bus 2 link 1.
  EXPECT_EQ(gateway_.model().relay_image().substr(0, 10), "2800284848");
}

TEST_F(GatewayTest, ConnectionsNeedTwoDifferentPortsWithModules) {
  EXPECT_EQ(ask_one("CONNECT_S 00 08"), "%CONNECT_S 00 08 E4");
  EXPECT_EQ(ask_one("CONNECT_S 03 03"), "% E2");
  EXPECT_EQ(ask_one("CONNECT_S 00 26"), "% E2");
  EXPECT_EQ(ask_one("CONNECT_S 00"), "% E2");
  EXPECT_EQ(ask_one("CONNECT_S 00 01 02"), "% E2");
}

TEST_F(GatewayTest, DisconnectionsForOnePortOrAll) {
  tell({"CONF ALL ON", "CONNECT_S 00 01", "CONNECT_S 02 03", "DIAL 02 5551212 1"});
  EXPECT_EQ(ask_one("DISCH 02"), "%DISCH 02 E0");
  EXPECT_EQ(ask_one("ON_HOOK 02 ?"), "%ON_HOOK 02 OFF E0");  // DISCH keeps the line
  ask("CONNECT_S 02 03");
  EXPECT_EQ(ask_one("DISC 02"), "%DISC 02 E0");
  EXPECT_EQ(ask_one("ON_HOOK 02 ?"), "%ON_HOOK 02 ON E0");
  EXPECT_EQ(ask_one("DISC_S 08"), "%DISC_S 08 E4");
  EXPECT_EQ(ask_one("DISCH ALL"), "%DISCH ALL E0");
  EXPECT_EQ(ask_one("DISC ALL"), "%DISC ALL E0");
  EXPECT_EQ(ask_one("DISC_S ALL"), "%DISC_S ALL E0");
  EXPECT_EQ(ask("CONNECT_S ALL ?"), (Lines{"% E4"}));
}

TEST_F(GatewayTest, MonitorRelationsAreReportedAsTheyStand) {
  EXPECT_EQ(ask_one("MON 04 07 ON"), "%MON 04 07 ON E0");
  EXPECT_EQ(ask_one("MON 04 03 ON"), "%MON 04 03 ON E0");
  EXPECT_EQ(ask_one("MON 04 07 ON"), "%MON 04 07 ON E0");
  EXPECT_EQ(ask_one("MON 09 00 ON"), "%MON 09 00 ON E0");
  EXPECT_EQ(ask("MON ALL ?"), (Lines{"%MON 04 07 03 ON E0", "%MON 09 00 ON E0"}));
  EXPECT_EQ(ask_one("MON 04 07 OFF"), "%MON 04 07 OFF E0");
  EXPECT_EQ(ask_one("MON 04 ?"), "%MON 04 03 ON E0");
  // Refused: the relation reported is the one that stands.
  EXPECT_EQ(ask_one("MON 04 08 ON"), "%MON 04 08 OFF E4");
  EXPECT_EQ(ask_one("MON 04 04 ON"), "%MON 04 04 OFF E4");
  EXPECT_EQ(ask_one("MON 04 07 MAYBE"), "% E2");
  tell({"MON 04 03 OFF", "MON 09 00 OFF"});
  EXPECT_EQ(ask("MON ALL ?"), (Lines{"% E4"}));
}

TEST_F(GatewayTest, TheControllersRelayLineIsTakenSilentlyForItsDischGroups) {
  // Port 2 in group 0 and port 3 in group 1 (the low three bits hold the group + 1).
  EXPECT_TRUE(ask("RELAY 00000102" + std::string(56, '0')).empty());
  EXPECT_EQ(gateway_.model().port(2).disch_group, 0);
  EXPECT_EQ(gateway_.model().port(3).disch_group, 1);
  ask("DISCH 02");
  EXPECT_EQ(gateway_.model().port(2).disch_group, 0);  // the H form keeps the group
  ask("DISC_S 03");
  EXPECT_EQ(gateway_.model().port(3).disch_group, kNone);
  EXPECT_TRUE(ask("RELAY nonsense").empty());
  EXPECT_TRUE(ask("RELAY").empty());
}

}  // namespace
}  // namespace mav::sim::test
