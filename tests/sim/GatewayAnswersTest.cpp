// What the gateway answers where the controller's view of links, groups and nets, its replay and
// its dial dialog depend on the answer.
#include <gtest/gtest.h>

#include <string>

#include "GatewayTestSupport.h"
#include "SimProcess.h"

namespace mav::sim::test {
namespace {

std::string zeros(std::size_t count) {
  return std::string(count, '0');
}

// The buses carry no links or groups, so the connection list says all there is; once they do,
// the relay image follows it. A lone port on a linked bus still talks and is listed.
TEST_F(GatewayTest, TheConnectionListEndsWithTheRelayImageWhileBusesAreLinked) {
  tell({"CONF ALL ON", "CONNECT_S 00 01", "CONNECT_S 03 06"});
  converse({
      {"CONNECT_S ALL ?", {"%CONNECT_S 00 01 E0", "%CONNECT_S 03 06 E0"}},
      {"CONNECT_S 00 03", {"%CONNECT_S 00 03 E0"}},
      {"DISC_S 06", {"%DISC_S 06 E0"}},
      {"CONNECT_S ALL ?",
       {"%CONNECT_S 00 01 E0", "%CONNECT_S 03 E0", "%RELAY 484800680000" + zeros(52)}},
      // The last port of one bus goes: the link ends and the lone port hears nobody.
      {"DISC_S 00", {"%DISC_S 00 E0"}},
      {"DISC_S 01", {"%DISC_S 01 E0"}},
      {"CONNECT_S ALL ?", {"%CONNECT_S ALL E4"}},
  });
}

// The controller takes a linked net apart by holding each of its ports in no DISCH group and
// joining them again: they stay together on their bus, without the link and without a new group.
TEST_F(GatewayTest, ALinkedNetTakenApartKeepsItsPortsAndLosesItsLink) {
  tell({"CONF ALL ON", "CONNECT_S 00 01", "CONNECT_S 02 00", "CONNECT_S 03 05", "CONNECT_S 06 07",
        "DISCH 02", "DISCH 06", "CONNECT_S 06 02", "CONNECT_S 00 03"});
  converse({
      {"DISCH 00", {"%DISCH 00 E0"}},
      {"DISCH 01", {"%DISCH 01 E0"}},
      {"CONNECT_S 01 00", {"%CONNECT_S 01 00 E0"}},
      {"sim relay ?", {"ok %RELAY 4040416000608180" + zeros(48)}},
  });
}

// The controller's rule: a bus keeps its net while it carries ports; a new one takes the lowest
// free net.
TEST_F(GatewayTest, ABusKeepsItsNetWhileItCarriesPorts) {
  tell({"CONNECT_S 00 01", "CONNECT_S 02 03", "CONNECT_S 04 05", "DISC_S 00"});
  converse({
      {"sim relay ?", {"ok %RELAY 000060608080" + zeros(52)}},
      {"CONNECT_S 06 07", {"%CONNECT_S 06 07 E0"}},
      {"sim relay ?", {"ok %RELAY 000060608080" + std::string("4040") + zeros(48)}},
  });
}

// A gateway with one handset: the queries for ALL that find no port answer in a form the
// controller takes without changing anything. "ALL" reads as port 00 there, so a setting it
// stores whatever the status gets the bare status instead.
class HandsetGateway : public ::testing::Test {
 protected:
  Gateway gateway_{GatewayModel(Lineup{2}, 7)};
};

TEST_F(HandsetGateway, QueriesForAllThatFindNothingAnswerInTheirOwnForm) {
  const Exchange table[] = {
      {"MON ALL ?", {"%MON ALL OFF E4"}},
      {"ON_HOOK ALL ?", {"%ON_HOOK ALL OFF E4"}},
      {"TX_LEVEL ALL ?", {"%TX_LEVEL ALL 6 E4"}},
      {"SQUELCH_TYPE ALL ?", {"%SQUELCH_TYPE ALL VOX E4"}},
      {"USER_CONTROL ALL OFF", {"%USER_CONTROL ALL ON E4"}},
      {"EQ ALL ?", {"% E4"}},
  };
  for (const Exchange& step : table) {
    const Lines replies = gateway_.handle_line(step.in);
    EXPECT_EQ(replies, step.out) << step.in;
    for (const std::string& reply : replies) EXPECT_TRUE(parses_as_reply(reply)) << reply;
  }
}

// The controller re-sends no RING_LED after a restart: the gateway reports that the ringing ended.
TEST_F(GatewayTest, ARestartWhileRingingReportsTheRingingOver) {
  tell({"RING_LED ON"});
  converse({
      {"sim ring 10", {"%RING_LED 0000 0010 E0"}},
      {"sim restart", {"%BOOT 00 E0", "%RING_LED 0000 0000 E0"}},
  });
}

// The dial dialog sends the number as typed; the blanks dial nothing.
TEST_F(GatewayTest, ANumberTypedWithBlanksIsDialled) {
  converse({{"DIAL 02 02 555 1234 1", {"%DIAL 02 025551234 E0"}}});
}

// "logout" gets no answer even while the gateway is busy, and does not use up a busy answer.
TEST(GatewayProcess, TheSignOffTakesNoBusyAnswer) {
  SimProcess sim;
  ASSERT_TRUE(
      sim.start({"--tcp", "127.0.0.1:0", "--control-port", "0", "--transcript", "/dev/null"}));
  LineChannel link(connect_loopback(sim.tcp_port), '\r');
  EXPECT_EQ(sim.control("busy 1"), "ok");
  link.send("logout\rVER\rFREE_BUS ?\r");
  EXPECT_EQ(link.read_line(), "%BUSY");
  EXPECT_EQ(link.read_line(), "%FREE_BUS 7 E0");
}

}  // namespace
}  // namespace mav::sim::test
