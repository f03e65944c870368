// The device model's searches over the port table.
#include <gtest/gtest.h>

#include "RecordImage.h"
#include "model/DeviceModel.h"

namespace mav {
namespace {

using test::Place;
using test::Placement;

TEST(PortQueries, EmptyGatewayHasNoModulesAndEveryNumberFree) {
  DeviceModel model;
  EXPECT_EQ(model.CountModules(), 0);
  EXPECT_FALSE(model.AnyModuleInUpperHalf());
  EXPECT_EQ(model.LowestFreeBus(), 0);
  EXPECT_EQ(model.LowestFreeLink(), 0);
  EXPECT_EQ(model.LowestFreeDischGroup(), 0);
  EXPECT_EQ(model.LowestFreeNet(), 1);
  EXPECT_EQ(model.CountOnBus(GROUP_NONE), 0);
  EXPECT_EQ(model.CountInNet(GROUP_NONE), 0);
  EXPECT_EQ(model.BusOfNet(GROUP_NONE), GROUP_NONE);
  EXPECT_EQ(model.LinkOfNet(1), GROUP_NONE);
  EXPECT_EQ(model.FirstFreePortOfNet(1), PORT_NONE);
}

TEST(PortQueries, UpperHalfStartsAtPortThirteen) {
  DeviceModel model;
  Place(model, 12, {});
  EXPECT_EQ(model.CountModules(), 1);
  EXPECT_TRUE(model.HasModule(12));
  EXPECT_FALSE(model.AnyModuleInUpperHalf());
  Place(model, 13, {});
  EXPECT_TRUE(model.AnyModuleInUpperHalf());
}

// A later port may hold the number an earlier one pushed the candidate to: the scan has to
// start over each time the candidate moves.
TEST(PortQueries, LowestFreeSearchesRestartTheirScan) {
  DeviceModel model;
  Place(model, 0, {.bus = 1, .link = 2, .net = 2, .disch = 1});
  Place(model, 1, {.bus = 0, .link = 1, .net = 1, .disch = 0});
  Place(model, 2, {.bus = 2, .link = 0, .net = 3, .disch = 2});
  EXPECT_EQ(model.LowestFreeBus(), 3);
  EXPECT_EQ(model.LowestFreeLink(), 3);
  EXPECT_EQ(model.LowestFreeNet(), 4);
  EXPECT_EQ(model.LowestFreeDischGroup(), 3);
}

TEST(PortQueries, LowestFreeNumbersCountPortsWithoutModulesToo) {
  DeviceModel model;
  Place(model, 7, {.bus = 0, .net = 1, .mod_type = MOD_NONE});
  EXPECT_EQ(model.LowestFreeBus(), 1);
  EXPECT_EQ(model.LowestFreeNet(), 2);
  EXPECT_EQ(model.CountOnBus(0), 0);
  EXPECT_EQ(model.CountInNet(1), 0);
}

TEST(PortQueries, AnEighthNetHasNoNumber) {
  DeviceModel model;
  for (int net = 1; net <= 6; ++net) Place(model, net, {.net = static_cast<std::int16_t>(net)});
  EXPECT_EQ(model.LowestFreeNet(), 7);
  Place(model, 20, {.net = 7});
  EXPECT_EQ(model.LowestFreeNet(), GROUP_NONE);
}

TEST(PortQueries, NetLookupsAnswerFromTheFirstPortOfTheNet) {
  DeviceModel model;
  Place(model, 3, {.bus = 4, .link = 1, .net = 2, .disch = 0});
  Place(model, 5, {.bus = 6, .link = 2, .net = 2});
  Place(model, 9, {.bus = 6, .link = 2, .net = 2});
  EXPECT_EQ(model.BusOfNet(2), 4);
  EXPECT_EQ(model.LinkOfNet(2), 1);
  EXPECT_EQ(model.CountInNet(2), 3);
  EXPECT_EQ(model.CountOnBus(6), 2);
  EXPECT_EQ(model.FirstFreePortOfNet(2), 5);  // port 3 is held in a DISCH group
  EXPECT_EQ(model.BusOfNet(5), GROUP_NONE);
  EXPECT_EQ(model.LinkOfBus(6), 2);
  EXPECT_EQ(model.LinkOfBus(GROUP_NONE), GROUP_NONE);
}

TEST(PortQueries, FindPartnerLooksOnTheBusFirstThenAlongTheLink) {
  DeviceModel model;
  Place(model, 2, {.bus = 0, .link = 4});
  Place(model, 4, {.bus = 0, .link = 4, .disch = 1});  // held: never a partner
  Place(model, 6, {.bus = 0, .link = 4});
  Place(model, 8, {.bus = 1, .link = 4});
  Place(model, 10, {});
  EXPECT_EQ(model.FindPartner(6), 2);
  EXPECT_EQ(model.FindPartner(2), 6);
  EXPECT_EQ(model.FindPartner(8), 2);  // alone on bus 1: first free port of the link
  EXPECT_EQ(model.FindPartner(10), PORT_NONE);
  EXPECT_EQ(model.FindPartner(-1), PORT_NONE);
  EXPECT_EQ(model.FindPartner(26), PORT_NONE);

  Place(model, 11, {.bus = 3});
  EXPECT_EQ(model.FindPartner(11), PORT_NONE);  // alone and unlinked
}

TEST(PortQueries, OtherGroupMemberNamesOnlyASinglePartner) {
  DeviceModel model;
  Place(model, 1, {.disch = 2});
  EXPECT_EQ(model.OtherGroupMember(1), -1);
  Place(model, 4, {.disch = 2, .mod_type = MOD_NONE});  // no module: not a member
  EXPECT_EQ(model.OtherGroupMember(1), -1);
  Place(model, 7, {.disch = 2});
  EXPECT_EQ(model.OtherGroupMember(1), 7);
  EXPECT_EQ(model.OtherGroupMember(7), 1);
  Place(model, 9, {.disch = 2});
  EXPECT_EQ(model.OtherGroupMember(1), -1);
  EXPECT_EQ(model.OtherGroupMember(12), -1);  // in no group
  EXPECT_EQ(model.OtherGroupMember(30), -1);
}

}  // namespace
}  // namespace mav
