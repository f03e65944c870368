// The device model's searches over the port table, and the nets shown to the operator kept
// consistent with the gateway's bus assignment; and the commands waiting for the gateway's reply.
#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

#include "RecordImage.h"
#include "model/PendingTable.h"

namespace mav {
namespace {

using test::Place;
using test::RecordOf;

constexpr int kNone = GROUP_NONE;

struct Placed {
  int port;
  test::Placement placement;
};

DeviceModel& PlaceAll(DeviceModel& model, const std::vector<Placed>& ports) {
  for (const auto& [port, placement] : ports) Place(model, port, placement);
  return model;
}

TEST(PortQueries, CountsAndLowestFreeNumbers) {
  DeviceModel model;
  Place(model, 7, {.bus = 0, .net = 1, .mod_type = MOD_NONE});  // numbers but no module
  EXPECT_EQ((std::vector{model.CountModules(), model.CountOnBus(0), model.CountInNet(1),
                         model.LowestFreeBus(), model.LowestFreeNet()}),
            (std::vector{0, 0, 0, 1, 2}));
  Place(model, 12, {});  // the upper half of the gateway starts at port 13
  EXPECT_EQ(model.CountModules(), 1);
  EXPECT_FALSE(model.AnyModuleInUpperHalf());
  Place(model, 13, {});
  EXPECT_TRUE(model.AnyModuleInUpperHalf());

  // A later port may hold the number an earlier one pushed the candidate to.
  // clang-format off
  PlaceAll(model, {{0, {.bus = 1, .link = 2, .net = 2, .disch = 1}},
                   {1, {.bus = 0, .link = 1, .net = 1, .disch = 0}},
                   {2, {.bus = 2, .link = 0, .net = 3, .disch = 2}}});
  // clang-format on
  EXPECT_EQ((std::vector{model.LowestFreeBus(), model.LowestFreeLink(), model.LowestFreeNet(),
                         model.LowestFreeDischGroup()}),
            (std::vector{3, 3, 4, 3}));
}

TEST(PortQueries, NetLookupsPartnersAndGroupMembers) {
  DeviceModel model;
  // clang-format off
  PlaceAll(model, {{3, {.bus = 4, .link = 1, .net = 2, .disch = 0}},
                   {5, {.bus = 6, .link = 2, .net = 2}},
                   {9, {.bus = 6, .link = 2, .net = 2}}, {11, {.link = 3}}});
  // clang-format on
  // Net 2's bus and link come from its first port; port 3 is held in a DISCH group. "No group"
  // is never a group, although most ports hold it.
  EXPECT_EQ((std::vector{model.BusOfNet(2), model.LinkOfNet(2), model.CountInNet(2),
                         model.CountOnBus(6), model.FirstFreePortOfNet(2), model.BusOfNet(5),
                         model.LinkOfBus(6), model.CountOnBus(kNone), model.CountInNet(kNone),
                         model.LinkOfBus(kNone), model.FirstFreePortOfNet(kNone)}),
            (std::vector{4, 1, 3, 2, 5, kNone, 2, 0, 0, kNone, int{PORT_NONE}}));

  DeviceModel linked;
  // clang-format off
  PlaceAll(linked, {{1, {.bus = 1, .link = 4}}, {2, {.bus = 0, .link = 4}},
                    {4, {.bus = 0, .link = 4, .disch = 1}},  // held: never a partner
                    {6, {.bus = 0, .link = 4}}, {10, {.link = 4}}, {11, {.bus = 3}},
                    {14, {.disch = 2}}, {17, {.disch = 2, .mod_type = MOD_NONE}}});
  // clang-format on
  // On the bus first, then the first free port along the link.
  EXPECT_EQ((std::vector{linked.FindPartner(6), linked.FindPartner(2), linked.FindPartner(1)}),
            (std::vector{2, 6, 2}));
  for (int port : {10, 11, -1, 26}) EXPECT_EQ(linked.FindPartner(port), PORT_NONE) << port;
  EXPECT_EQ(linked.OtherGroupMember(14), -1);  // a slot without module is no member
  Place(linked, 19, {.disch = 2});
  EXPECT_EQ(std::pair(linked.OtherGroupMember(14), linked.OtherGroupMember(19)), std::pair(19, 14));
  Place(linked, 20, {.disch = 2});
  EXPECT_EQ(linked.OtherGroupMember(14), -1);  // only a single partner is named
  for (int port : {12, 30}) EXPECT_EQ(linked.OtherGroupMember(port), -1);
}

// A port's bus, link and net once renumbering has settled.
void ExpectGroups(const DeviceModel& model,
                  const std::vector<std::tuple<int, int, int, int>>& want) {
  for (const auto& [port, bus, link, net] : want) {
    const PortRecord r = RecordOf(model, port);
    EXPECT_EQ(std::tuple(r.bus, r.bus_link, r.net), std::tuple(bus, link, net)) << "port " << port;
  }
}

std::vector<test::RecordImage> Images(const DeviceModel& model) {
  std::vector<test::RecordImage> images;
  for (int port = 0; port < kPortCount; ++port)
    images.push_back(test::ImageOf(RecordOf(model, port)));
  return images;
}

TEST(RenumberNets, SettlesBusesLinksAndNets) {
  struct Case {
    const char* what;
    std::vector<Placed> before;
    std::vector<std::tuple<int, int, int, int>> after;  // port, bus, link, net
  };
  // clang-format off
  const Case cases[] = {
      {"new buses take the lowest free net in bus order",
       {{0, {.bus = 3}}, {1, {.bus = 5}}, {2, {.bus = 3}}, {3, {.bus = 5}},
        {4, {.bus = 0, .net = 2}}, {5, {.bus = 0, .net = 2}}},
       {{0, 3, kNone, 1}, {2, 3, kNone, 1}, {1, 5, kNone, 3}, {3, 5, kNone, 3}, {4, 0, kNone, 2}}},
      {"a bus merges into its lowest net",
       {{6, {.bus = 1, .net = 4}}, {7, {.bus = 1, .net = 2}}, {8, {.bus = 1}}},
       {{6, 1, kNone, 2}, {7, 1, kNone, 2}, {8, 1, kNone, 2}}},
      {"a port on no bus loses net and link",
       {{9, {.link = 1, .net = 3}}}, {{9, kNone, kNone, kNone}}},
      {"a one-module bus is dissolved; an empty slot hears nothing",
       {{3, {.bus = 2, .net = 1}}, {4, {.bus = 2, .mod_type = MOD_NONE}}},
       {{3, kNone, kNone, kNone}}},
      // Its old net dies with the move; the next pass gives it the net of its new bus.
      {"a linked lone port moves to its link's bus and joins that net",
       {{0, {.bus = 4, .link = 0, .net = 1}}, {1, {.bus = 2, .link = 0, .net = 2}},
        {2, {.bus = 2, .link = 0, .net = 2}}},
       {{0, 2, 0, 2}, {1, 2, 0, 2}, {2, 2, 0, 2}}},
      {"a linked lone port with no other bus on its link is released",
       {{5, {.bus = 1, .link = 3, .net = 1}}}, {{5, kNone, kNone, kNone}}},
      {"two buses on one link keep their own nets",
       {{0, {.bus = 0, .link = 1}}, {1, {.bus = 0, .link = 1}}, {2, {.bus = 1, .link = 1}},
        {3, {.bus = 1, .link = 1}}},
       {{0, 0, 1, 1}, {1, 0, 1, 1}, {2, 1, 1, 2}, {3, 1, 1, 2}}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DeviceModel model;
    PlaceAll(model, c.before).RenumberNets();
    ExpectGroups(model, c.after);
    const auto settled = Images(model);  // a settled table stays as it is
    model.RenumberNets();
    EXPECT_EQ(Images(model), settled);
  }
}

TEST(RenumberNets, TheEighthNetGetsNoNumberUntilOneIsFreed) {
  DeviceModel model;
  for (std::int16_t bus = 0; bus < 8; ++bus)
    PlaceAll(model, {{2 * bus, {bus}}, {2 * bus + 1, {bus}}});
  model.RenumberNets();
  for (int bus = 0; bus < 7; ++bus) ExpectGroups(model, {{2 * bus, bus, kNone, bus + 1}});
  ExpectGroups(model, {{14, 7, kNone, kNone}, {15, 7, kNone, kNone}});  // connected, unnumbered
  Place(model, 0, {});  // bus 0 and net 1 are left with one module
  model.RenumberNets();
  ExpectGroups(model, {{1, kNone, kNone, kNone}, {14, 7, kNone, 1}, {15, 7, kNone, 1}});
}

// Tables read from damaged files or odd gateway reports must not hang or overrun anything. A
// linked bus held only by a port without a module keeps pulling a lone module back; bus numbers
// no gateway uses count as no bus.
TEST(RenumberNets, DamagedTablesStillReturn) {
  DeviceModel model;
  // clang-format off
  PlaceAll(model, {{0, {.bus = 5, .link = 0, .net = 3, .mod_type = MOD_NONE}},
                   {1, {.bus = 2, .link = 0, .net = 1}}, {2, {.bus = 40, .net = 2}},
                   {3, {.bus = -3, .net = 2}}, {4, {.bus = 29, .net = 120}},
                   {5, {.bus = 29, .net = -7}}});
  // clang-format on
  model.RenumberNets();
  EXPECT_EQ(RecordOf(model, 2).bus, kNone);
  EXPECT_EQ(RecordOf(model, 3).net, kNone);
  EXPECT_EQ(RecordOf(model, 4).net, RecordOf(model, 5).net);
}

using Data = std::pair<int, int>;

// The (data1, data2) of the entry Take hands back, or nothing when it finds none.
std::optional<Data> Taken(PendingTable& table, std::uint8_t kind, std::uint8_t port) {
  std::uint8_t data1 = 0, data2 = 0;
  if (!table.Take(kind, port, data1, data2)) return std::nullopt;
  return Data{data1, data2};
}

TEST(PendingTable, LowerSlotFirstAndAFullTableLosesTheEntry) {
  PendingTable table;
  ASSERT_TRUE(table.Add(1, 4, 2, 0));
  ASSERT_TRUE(table.Add(3, 4, 6, 9));  // same port, other kind
  ASSERT_TRUE(table.Add(1, 4, 5, 0));
  EXPECT_EQ(Taken(table, 1, 4), Data(2, 0));
  EXPECT_EQ(Taken(table, 1, 4), Data(5, 0));
  EXPECT_EQ(Taken(table, 1, 4), std::nullopt);
  EXPECT_EQ(Taken(table, 3, 4), Data(6, 9));
  // A freed slot is reused before higher ones, even below an older entry for the same port.
  table.Add(1, 1, 10, 0);
  table.Add(1, 2, 20, 0);
  Taken(table, 1, 1);
  table.Add(1, 2, 30, 0);
  EXPECT_EQ(Taken(table, 1, 2), Data(30, 0));
  // Kind zero marks a free slot and is never stored.
  EXPECT_FALSE(table.Add(0, 5, 1, 1));
  EXPECT_EQ(Taken(table, 0, 0), std::nullopt);

  table.Clear();
  for (int i = 0; i < 256; ++i) ASSERT_TRUE(table.Add(1, i % 26 & 0xFF, i & 0xFF, 0));
  EXPECT_FALSE(table.Add(3, 7, 1, 1));
  EXPECT_EQ(Taken(table, 3, 7), std::nullopt);
  EXPECT_EQ(Taken(table, 1, 25), Data(25, 0));
  EXPECT_TRUE(table.Add(3, 7, 1, 1));
  table.Clear();
  EXPECT_EQ(Taken(table, 1, 0), std::nullopt);
}

}  // namespace
}  // namespace mav
