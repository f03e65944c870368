// Keeping the nets shown to the operator consistent with the gateway's bus assignment.
#include <gtest/gtest.h>

#include "RecordImage.h"
#include "model/DeviceModel.h"

namespace mav {
namespace {

using test::Place;
using test::RecordOf;

int NetOf(const DeviceModel& model, int port) {
  return RecordOf(model, port).net;
}
int BusOf(const DeviceModel& model, int port) {
  return RecordOf(model, port).bus;
}

TEST(RenumberNets, NewBusesTakeTheLowestFreeNetInBusOrder) {
  DeviceModel model;
  Place(model, 0, {.bus = 3});
  Place(model, 1, {.bus = 5});
  Place(model, 2, {.bus = 3});
  Place(model, 3, {.bus = 5});
  Place(model, 4, {.bus = 0, .net = 2});
  Place(model, 5, {.bus = 0, .net = 2});
  model.RenumberNets();
  EXPECT_EQ(NetOf(model, 0), 1);
  EXPECT_EQ(NetOf(model, 2), 1);
  EXPECT_EQ(NetOf(model, 1), 3);
  EXPECT_EQ(NetOf(model, 3), 3);
  EXPECT_EQ(NetOf(model, 4), 2);
}

TEST(RenumberNets, OneBusMergesIntoItsLowestNet) {
  DeviceModel model;
  Place(model, 6, {.bus = 1, .net = 4});
  Place(model, 7, {.bus = 1, .net = 2});
  Place(model, 8, {.bus = 1});
  model.RenumberNets();
  for (int port : {6, 7, 8}) EXPECT_EQ(NetOf(model, port), 2) << port;
}

TEST(RenumberNets, APortWithoutBusLosesNetAndLink) {
  DeviceModel model;
  Place(model, 9, {.link = 1, .net = 3});
  model.RenumberNets();
  EXPECT_EQ(NetOf(model, 9), GROUP_NONE);
  EXPECT_EQ(RecordOf(model, 9).bus_link, GROUP_NONE);
}

TEST(RenumberNets, AOneModuleBusIsDissolved) {
  DeviceModel model;
  Place(model, 3, {.bus = 2, .net = 1});
  Place(model, 4, {.bus = 2, .mod_type = MOD_NONE});  // an empty slot hears nothing
  model.RenumberNets();
  EXPECT_EQ(BusOf(model, 3), GROUP_NONE);
  EXPECT_EQ(NetOf(model, 3), GROUP_NONE);
}

TEST(RenumberNets, ALinkedLonePortMovesToItsLinksBusAndJoinsThatNet) {
  DeviceModel model;
  Place(model, 0, {.bus = 4, .link = 0, .net = 1});  // alone on bus 4
  Place(model, 1, {.bus = 2, .link = 0, .net = 2});
  Place(model, 2, {.bus = 2, .link = 0, .net = 2});
  model.RenumberNets();
  EXPECT_EQ(BusOf(model, 0), 2);
  EXPECT_EQ(RecordOf(model, 0).bus_link, 0);
  // Its old net died with the move; the next pass gives it the net of its new bus.
  EXPECT_EQ(NetOf(model, 0), 2);
  EXPECT_EQ(model.CountInNet(2), 3);
  EXPECT_EQ(model.CountInNet(1), 0);
}

TEST(RenumberNets, ALinkedLonePortWithNoOtherBusOnItsLinkIsReleased) {
  DeviceModel model;
  Place(model, 5, {.bus = 1, .link = 3, .net = 1});
  model.RenumberNets();
  EXPECT_EQ(BusOf(model, 5), GROUP_NONE);
  EXPECT_EQ(NetOf(model, 5), GROUP_NONE);
  EXPECT_EQ(RecordOf(model, 5).bus_link, GROUP_NONE);
}

TEST(RenumberNets, TheEighthNetGetsNoNumber) {
  DeviceModel model;
  for (int bus = 0; bus < 8; ++bus) {
    const auto b = static_cast<std::int16_t>(bus);
    Place(model, 2 * bus, {.bus = b});
    Place(model, 2 * bus + 1, {.bus = b});
  }
  model.RenumberNets();
  for (int bus = 0; bus < 7; ++bus) EXPECT_EQ(NetOf(model, 2 * bus), bus + 1) << bus;
  EXPECT_EQ(NetOf(model, 14), GROUP_NONE);
  EXPECT_EQ(NetOf(model, 15), GROUP_NONE);
  EXPECT_EQ(BusOf(model, 14), 7);  // still connected, just not numbered

  Place(model, 0, {});  // bus 0 and net 1 are left with one module
  model.RenumberNets();
  EXPECT_EQ(BusOf(model, 1), GROUP_NONE);
  EXPECT_EQ(NetOf(model, 1), GROUP_NONE);
  EXPECT_EQ(NetOf(model, 14), 1);  // the next pass gives the freed number to the unnumbered bus
  EXPECT_EQ(NetOf(model, 15), 1);
}

TEST(RenumberNets, SettledTableStaysAsItIs) {
  DeviceModel model;
  Place(model, 0, {.bus = 0, .link = 1});
  Place(model, 1, {.bus = 0, .link = 1});
  Place(model, 2, {.bus = 1, .link = 1});
  Place(model, 3, {.bus = 1, .link = 1});
  model.RenumberNets();
  PortRecord first[26];
  for (int port = 0; port < 26; ++port) first[port] = RecordOf(model, port);
  model.RenumberNets();
  for (int port = 0; port < 26; ++port) {
    EXPECT_EQ(test::ImageOf(RecordOf(model, port)), test::ImageOf(first[port])) << port;
  }
}

// Tables read from damaged files or odd gateway reports must not hang or overrun anything.
TEST(RenumberNets, DamagedTablesStillReturn) {
  DeviceModel model;
  // A linked bus held only by a port without a module keeps pulling a lone module back.
  Place(model, 0, {.bus = 5, .link = 0, .net = 3, .mod_type = MOD_NONE});
  Place(model, 1, {.bus = 2, .link = 0, .net = 1});
  // Bus numbers no gateway uses count as no bus.
  Place(model, 2, {.bus = 40, .net = 2});
  Place(model, 3, {.bus = -3, .net = 2});
  Place(model, 4, {.bus = 29, .net = 120});
  Place(model, 5, {.bus = 29, .net = -7});
  model.RenumberNets();
  EXPECT_EQ(BusOf(model, 2), GROUP_NONE);
  EXPECT_EQ(NetOf(model, 3), GROUP_NONE);
  EXPECT_EQ(NetOf(model, 4), NetOf(model, 5));
}

}  // namespace
}  // namespace mav
