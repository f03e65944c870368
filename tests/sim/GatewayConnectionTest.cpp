#include <gtest/gtest.h>

#include <string>

#include "GatewayTestSupport.h"

namespace mav::sim::test {
namespace {

std::string zeros(std::size_t count) {
  return std::string(count, '0');
}

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

TEST_F(GatewayTest, ConnectionListNamesExactlyTheBusesWithTwoOrMorePorts) {
  tell({"CONF ALL ON", "CONNECT_S 05 00", "CONNECT_S 03 06", "CONNECT_S 07 05"});
  converse({
      {"CONNECT_S ALL ?", {"%CONNECT_S 00 05 07 E0", "%CONNECT_S 03 06 E0"}},
      // A bus left with one port is released: that port hears nobody.
      {"DISC 03", {"%DISC 03 E0"}},
      {"CONNECT_S ALL ?", {"%CONNECT_S 00 05 07 E0"}},
      {"DISC_S 05", {"%DISC_S 05 E0"}},
      {"DISC_S 07", {"%DISC_S 07 E0"}},
      {"CONNECT_S ALL ?", {"%CONNECT_S ALL E4"}},
      {"FREE_BUS ?", {"%FREE_BUS 7 E0"}},
  });
}

TEST_F(GatewayTest, ConferencesNeedConferencingOnTheNamedPorts) {
  converse({
      {"CONNECT_S 00 02", {"%CONNECT_S 00 02 E0"}},
      // A third port on the bus makes a conference; CONF is off from the factory.
      {"CONNECT_S 03 00", {"%CONNECT_S 03 00 E16"}},
      {"CONF 03 ON", {"%CONF 03 ON E0"}},
      {"CONNECT_S 03 00", {"%CONNECT_S 03 00 E16"}},
      {"CONF 00 ON", {"%CONF 00 ON E0"}},
      {"CONNECT_S 03 00", {"%CONNECT_S 03 00 E0"}},
      // The handset has no conferencing switch and never refuses.
      {"CONNECT_S 01 03", {"%CONNECT_S 01 03 E0"}},
  });
}

TEST_F(GatewayTest, ConnectionsNeedTwoDifferentPortsWithModules) {
  converse({
      {"CONNECT_S 00 08", {"%CONNECT_S 00 08 E4"}},
      {"CONNECT_S 03 03", {"% E2"}},
      {"CONNECT_S 00 26", {"% E2"}},
      {"CONNECT_S 00", {"% E2"}},
      {"CONNECT_S 00 01 02", {"% E2"}},
      {"DISC_S 08", {"%DISC_S 08 E4"}},
  });
}

// DISCH holds a port on its bus; two held ports joined make a DISCH group; a group left with one
// member is dissolved and that member reported, as the controller waits for it to be.
TEST_F(GatewayTest, DischGroupsFormFromHeldPortsAndBreakUpWhenOneMemberIsLeft) {
  tell({"CONF ALL ON"});
  converse({
      {"CONNECT_S 00 01", {"%CONNECT_S 00 01 E0"}},
      {"CONNECT_S 03 05", {"%CONNECT_S 03 05 E0"}},
      {"DISCH 00", {"%DISCH 00 E0"}},
      {"DISCH 03", {"%DISCH 03 E0"}},
      {"CONNECT_S 03 00", {"%CONNECT_S 03 00 E0"}},
      {"CONNECT_S 02 00", {"%CONNECT_S 02 00 E0"}},
      {"CONNECT_S ALL ?",
       {"%CONNECT_S 00 01 E0", "%CONNECT_S 03 05 E0", "%RELAY 414001610060" + zeros(52)}},
      {"sim relay ?", {"ok %RELAY 414001610060" + zeros(52)}},
      {"DISCH 03", {"%DISCH 03 E0"}},
      {"DISC_S 02", {"%DISC_S 02 E0", "%DISCH 00 E0"}},
      {"sim relay ?", {"ok %RELAY 404000600060" + zeros(52)}},
      // The same when the gateway hangs a member up on its own.
      {"DISCH 00", {"%DISCH 00 E0"}},
      {"DISCH 03", {"%DISCH 03 E0"}},
      {"CONNECT_S 00 03", {"%CONNECT_S 00 03 E0"}},
      {"sim disc 03", {"%DISC 03 E0", "%DISCH 00 E0"}},
      // The controller's RELAY report changes nothing; DISCH ALL ends every group.
      {"DISCH 00", {"%DISCH 00 E0"}},
      {"CONNECT_S 03 05", {"%CONNECT_S 03 05 E0"}},
      {"DISCH 03", {"%DISCH 03 E0"}},
      {"CONNECT_S 03 00", {"%CONNECT_S 03 00 E0"}},
      {"RELAY 0102" + zeros(60), {"% E0"}},
      {"sim relay ?", {"ok %RELAY 414000610060" + zeros(52)}},
      {"DISCH ALL", {"%DISCH ALL E0"}},
      {"sim relay ?", {"ok %RELAY " + zeros(64)}},
      {"CONNECT_S ALL ?", {"%CONNECT_S ALL E4"}},
  });
}

// Per port: ((net + 1) * 4 + link + 1) * 8 + group + 1; a new bus takes the lowest free net.
TEST_F(GatewayTest, TheRelayImageCarriesNetsLinksAndGroups) {
  tell({"CONF ALL ON"});
  converse({
      {"sim relay", {"%RELAY " + zeros(64)}},
      {"CONNECT_S 03 05", {"%CONNECT_S 03 05 E0"}},
      {"sim relay", {"%RELAY 000000400040" + zeros(52)}},
      {"CONNECT_S 00 01", {"%CONNECT_S 00 01 E0"}},
      {"CONNECT_S 00 03", {"%CONNECT_S 00 03 E0"}},
      {"sim relay", {"%RELAY 686800480048" + zeros(52)}},
  });
}

// CONNECT_S links two buses; CONNECT (and the gateway's own connection) moves the partners onto
// the first port's bus and ends that bus's link.
TEST_F(GatewayTest, ConnectMovesPortsWhereConnectSLinksBuses) {
  tell({"CONF ALL ON"});
  converse({
      {"CONNECT_S 00 01", {"%CONNECT_S 00 01 E0"}},
      {"CONNECT_S 03 05", {"%CONNECT_S 03 05 E0"}},
      {"CONNECT_S 02 07", {"%CONNECT_S 02 07 E0"}},
      {"CONNECT 00 03", {"%CONNECT 00 03 E0"}},
      {"CONNECT_S ALL ?", {"%CONNECT_S 00 01 03 E0", "%CONNECT_S 02 07 E0"}},
      {"CONNECT_S 00 02", {"%CONNECT_S 00 02 E0"}},
      {"CONNECT_S ALL ?",
       {"%CONNECT_S 00 01 03 E0", "%CONNECT_S 02 07 E0", "%RELAY 4848884800000088" + zeros(48)}},
      {"sim connect 07 00 05", {"%CONNECT 07 00 05 E0"}},
      {"CONNECT_S ALL ?", {"%CONNECT_S 01 03 E0", "%CONNECT_S 00 02 05 07 E0"}},
      {"sim relay ?", {"ok %RELAY 8040804000800080" + zeros(48)}},
  });
}

TEST_F(GatewayTest, MonitorRelationsAreReportedAsTheyStand) {
  converse({
      {"MON 04 07 ON", {"%MON 04 07 ON E0"}},
      {"MON 04 03 ON", {"%MON 04 03 ON E0"}},
      {"MON 04 07 ON", {"%MON 04 07 ON E0"}},
      {"MON 09 00 ON", {"%MON 09 00 ON E0"}},
      {"MON ALL ?", {"%MON 04 07 03 ON E0", "%MON 09 00 ON E0"}},
      {"MON 04 07 OFF", {"%MON 04 07 OFF E0"}},
      {"MON 04 ?", {"%MON 04 03 ON E0"}},
      // Refused: the relation reported is the one that stands.
      {"MON 04 08 ON", {"%MON 04 08 OFF E4"}},
      {"MON 04 04 ON", {"%MON 04 04 OFF E4"}},
      {"MON 04 07 MAYBE", {"% E2"}},
      {"MON 04 03 OFF", {"%MON 04 03 OFF E0"}},
      {"MON 09 00 OFF", {"%MON 09 00 OFF E0"}},
      {"MON ALL ?", {"%MON ALL OFF E4"}},
  });
}

}  // namespace
}  // namespace mav::sim::test
