// The connection actions: two ports for every combination of their buses and DISCH groups (the
// lines in order, the steps stored for the reply handlers, the sound, the dial marker and whether
// the selection survives), nets, disconnections, permanent marks and the menu actions on every
// port.
#include "frontend/MenuIds.h"
#include "matrix/GestureRig.h"

namespace mav::test {
namespace {

using Moves = std::vector<RecordingFrontend::Move>;
using Actions = GestureRig;
using Pair = std::pair<int, int>;

constexpr int PN = PORT_NONE;

struct Steps {
  std::uint32_t disch = 0, connect = 0;
  int partner = PN, bus = N;
  bool operator==(const Steps&) const = default;
};

Steps steps_of(const PortRecord& r) {
  return {r.disch_step, r.connect_step, r.pending_partner, r.pending_bus};
}

struct ConnectCase {
  PortSetup s, t;
  bool voice_prompts;
  std::string_view lines;  // joined with '|'
  const char* sound;       // "": none
  Steps s_steps, t_steps;
  bool selection_stays = false;
};

const PortSetup kFree{};
const PortSetup kG0{N, 0};
const PortSetup kG1{N, 1};
const PortSetup kBus1{1};
const PortSetup kBus2{2};
const char* const kC = "Connect.wav";
const char* const kBuzz = "Buzz.wav";

// clang-format off
const ConnectCase kCases[] = {
    {kFree, kFree, true, "CONNECT_S 03 07\r", "LongConnect.wav", {0, 2}, {0, 0}},
    {kFree, kG0, true, "CONNECT_S 03 07\r", kC, {0, 7}, {}},
    {kG0, kG0, true, "", kBuzz, {}, {}},
    {kG0, kG1, true, "VPMTS OFF\r|DISCH 03\r|VPMTS ON\r|DISCH 07\r", "", {1, 0}, {7, 0, 3}, true},
    {kG0, kG1, false, "DISCH 03\r|DISCH 07\r", "", {1, 0}, {7, 0, 3}, true},
    {kG0, kFree, true, "CONNECT_S 07 03\r", kC, {}, {0, 7}},
    {kFree, {1, 0}, true, "CONNECT_S 03 07\r", kC, {0, 7}, {}},
    {kFree, kBus1, true, "CONNECT_S 03 07\r", kC, {0, 5}, {}},
    {kFree, {1, N, 4}, true, "CONNECT_S 03 07\r", kC, {0, 5, PN, 1}, {}},
    {kG0, {1, 0}, true, "", kBuzz, {}, {}},
    {kG0, {1, 1}, true, "CONNECT_S 03 07\r", kC, {0, 8}, {}},
    {kG0, kBus1, true, "VPMTS OFF\r|DISCH 07\r|VPMTS ON\r", kC, {}, {5, 0, 3}},
    {{1, N, 4}, kFree, true, "CONNECT_S 07 03\r", kC, {}, {0, 5, PN, 1}},
    {kBus1, kG0, false, "DISCH 03\r", kC, {5, 0, 7}, {}},
    {{1, 0}, kG0, true, "", kBuzz, {}, {}},
    {{1, 0}, kFree, true, "CONNECT_S 07 03\r", kC, {}, {0, 7}},
    {{1, 0}, kG1, true, "CONNECT_S 03 07\r", kC, {0, 8}, {}},
    {{1, 0}, {2, 1}, true, "CONNECT_S 03 07\r", kC, {0, 8}, {}},
    {{1, 0}, {2, 0}, true, "", kBuzz, {}, {}},
    {kBus1, kBus2, true, "VPMTS OFF\r|DISCH 03\r|DISCH 07\r|VPMTS ON\r", kC, {1, 0}, {5, 0, 3}},
    {{1, 0}, kBus2, false, "DISCH 07\r", kC, {}, {5, 0, 3}},
    {kBus1, {2, 0}, true, "VPMTS OFF\r|DISCH 03\r|VPMTS ON\r", kC, {5, 0, 7}, {}},
    {kBus1, kBus1, true, "", kBuzz, {}, {}},
};
// clang-format on

class ConnectPorts : public GestureRig, public ::testing::WithParamInterface<ConnectCase> {};

TEST_P(ConnectPorts, SendsStoresAndSounds) {
  const ConnectCase& c = GetParam();
  session.voice_prompts = c.voice_prompts;
  put(3, c.s);
  put(7, c.t);
  session.selected_index = 3;
  session.selection = Selection::Port;
  actions.connect_ports(3, 7);
  EXPECT_EQ(std::tuple(Join(sender.lines()), Join(sounds()), session.selection_pending()),
            std::tuple(c.lines, c.sound, c.selection_stays));
  EXPECT_EQ(steps_of(port(3)), c.s_steps);
  EXPECT_EQ(steps_of(port(7)), c.t_steps);
  EXPECT_EQ(dial_marker_left(), c.lines.starts_with("CONNECT_S"));
  for (bool expects : sender.expects_reply()) EXPECT_TRUE(expects);
}

INSTANTIATE_TEST_SUITE_P(Rows, ConnectPorts, ::testing::ValuesIn(kCases), RowName);

// Two ports alone on one bus cannot be split apart; a third free port on it makes the split
// possible, unless a marked pair would leave only a marked port behind.
TEST_F(Actions, SplittingASharedBusNeedsAThirdFreePort) {
  struct Row {
    bool s_marked;
    PortSetup third;
    bool splits;
  };
  for (const Row& row : {Row{false, {0}, true}, Row{false, {0, 0}, false},
                         Row{true, {0, N, N, true}, false}, Row{true, {0}, true}}) {
    sender.clear();
    put(3, {0, N, N, row.s_marked});
    put(7, {0});
    put(12, row.third);
    actions.connect_ports(3, 7);
    EXPECT_EQ(!sender.lines().empty(), row.splits) << row.s_marked;
  }
}

TEST_F(Actions, DisconnectingAPortFollowsItsGroupAndMark) {
  const struct {
    PortSetup port;
    std::string lines;
    std::uint32_t disch_step;
    std::string sound;
  } rows[] = {
      {{0}, "DISC_S 03\r", 2, "Disconnect.wav"},
      {{0, N, N, true}, "", 0, "Buzz.wav"},  // marked permanent
      {{}, "", 0, "Buzz.wav"},               // unconnected
      {{0, 1}, "VPMTS OFF\r|DISCH 03\r|VPMTS ON\r", 6, "Disconnect.wav"},
      {{N, 1}, "DISC_S 03\r", 2, "Disconnect.wav"},
  };
  put(8, {0});
  put(9, {N, 1});
  for (const auto& row : rows) {
    sender.clear();
    put(3, row.port);
    EXPECT_EQ(actions.disconnect_port(3), !row.lines.empty());
    EXPECT_EQ(std::tuple(Join(sender.lines()), port(3).disch_step, sounds().back()),
              std::tuple(row.lines, row.disch_step, row.sound));
  }
  // The group's other member waits for a DISCH reply.
  std::uint8_t step = 0, partner = 0;
  EXPECT_TRUE(pending.Take(PendingTable::kDischWaits, 9, step, partner));
  // On a linked bus the partner is port 8, on the same bus.
  put(3, {0, 1, 2});
  put(8, {4, N, 2});
  actions.disconnect_port(3);
  EXPECT_EQ(Pair(port(3).pending_partner, port(3).pending_bus), (Pair{8, 0}));
}

TEST_F(Actions, DisconnectingANet) {
  put(3, {0, N, N, true});
  put(5, {0, N, N, true});
  model.RenumberNets();
  EXPECT_FALSE(actions.disconnect_net(1));  // an unlinked net of marked ports stays
  EXPECT_EQ(Join(sender.lines()) + Join(sounds()), "");
  put(5, {0});
  put(6, {0, 2});  // a DISCH-group port is let go here and now
  model.RenumberNets();
  EXPECT_TRUE(actions.disconnect_net(1));
  EXPECT_EQ(sender.lines(), Lines{"DISC_S 05\r"});
  EXPECT_EQ(frontend.moves(), (Moves{{6, 1, N}}));

  // A linked net is taken apart whatever the marks.
  sender.clear();
  session.voice_prompts = false;
  put(5, {0, 2, 1});
  put(3, {0, N, 1, true});
  put(6, {0, N, 1});
  put(10, {1, N, 1});
  put(11, {1, N, 1});
  model.RenumberNets();
  EXPECT_TRUE(actions.disconnect_net(port(3).net));
  EXPECT_EQ(Join(sender.lines()), "DISCH 03\r|DISCH 06\r");
  EXPECT_EQ(std::tuple(port(3).disch_step, port(6).disch_step, port(6).pending_partner),
            std::tuple(1u, 8u, 3));
  // The link joined bus 0 to bus 1 only: bus 1 alone keeps no link.
  for (int p : {3, 5, 6, 10, 11}) EXPECT_EQ(port(p).bus_link, N) << p;
}

TEST_F(Actions, PermanentMarksToggleBehindThePassword) {
  put(3, {0});
  put(5, {0});
  put(6, {0, 1});
  model.RenumberNets();
  gestures.register_commands(registry, hooks);
  registry.run(menu::kPermConnNet1);
  EXPECT_EQ((std::vector{port(3).perm_conn, port(5).perm_conn, port(6).perm_conn}),
            (std::vector<std::uint8_t>{1, 1, 0}));
  registry.run(menu::kPermConnNet1);
  EXPECT_EQ(port(3).perm_conn + port(5).perm_conn, 0);
  registry.run(menu::kPermConnNet2);  // no such net
  hooks.unlocked = false;             // the password check said no
  registry.run(menu::kPermConnNet1);
  EXPECT_EQ(port(3).perm_conn, 0);
  EXPECT_EQ(Join(sounds()), "PC.wav|PC_Off.wav|Buzz.wav");
  EXPECT_EQ(hooks.guards, std::vector<Guard>(3, Guard::PermanentConnections));
  EXPECT_TRUE(sender.lines().empty());
}

TEST_F(Actions, ConnectAllAndDisconnectAllAskFirst) {
  gestures.register_commands(registry, hooks);
  put(2);
  registry.run(menu::kDisconnectAll);  // a single module: nothing at all
  put(0, {}, MOD_LINE7);
  put(2, {}, MOD_TOV5);
  put(4, {}, MOD_TOV5);
  put(6, {}, MOD_MEK4);
  put(8, {}, MOD_HK6);
  hooks.answer_yes = false;
  registry.run(menu::kConnectAll);
  EXPECT_TRUE(sender.lines().empty());
  EXPECT_EQ(hooks.snapshots, 0);

  hooks.answer_yes = true;  // every radio and handset joins the first radio
  registry.run(menu::kConnectAll);
  EXPECT_EQ(Join(sender.lines()), "VPMTS OFF\r|CONNECT 04 02\r|CONNECT 06 02\r|VPMTS ON\r");
  EXPECT_EQ(hooks.questions.back(), "Connect All:\rAre you sure?");
  session.voice_prompts = false;
  sender.clear();
  registry.run(menu::kConnectAll);
  EXPECT_EQ(Join(sender.lines()), "CONNECT 04 02\r|CONNECT 06 02\r");

  session.voice_prompts = true;
  sender.clear();
  put(5, {0});
  put(6, {N, 1});
  put(7, {0});
  registry.run(menu::kDisconnectAll);
  EXPECT_EQ(Join(sender.lines()), "VPMTS OFF\r|DISC_S 05\r|DISC_S 06\r|DISC_S 07\r|VPMTS ON\r");
  EXPECT_EQ(hooks.questions.back(), "Disconnect All:\rAre you sure?");
  EXPECT_EQ(port(6).disch_step, 2u);
  EXPECT_EQ(hooks.snapshots, 3);
}

TEST_F(Actions, PortJoinsANet) {
  put(3, {0});
  put(5, {0});
  put(9, {2});
  put(10, {2});
  model.RenumberNets();
  // Connected elsewhere: DISCH first, then the reply connects it to the net's free port 03.
  session.voice_prompts = false;
  actions.add_port_to_net(0, 9);
  EXPECT_EQ(sender.lines(), Lines{"DISCH 09\r"});
  EXPECT_EQ(std::tuple(port(9).disch_step, int{port(9).pending_partner}, int{port(9).pending_bus}),
            std::tuple(4u, 3, 0));
  // Unconnected: straight to the free port, after the dial marker.
  sender.clear();
  put(12);
  actions.add_port_to_net(0, 12);
  EXPECT_EQ(sender.lines(), Lines{"CONNECT_S 12 03\r"});
  EXPECT_EQ(port(12).connect_step, 5u);
  EXPECT_TRUE(dial_marker_left());
  // Already on the net's bus, or in a DISCH group: refused.
  sender.clear();
  put(11, {N, 3});
  actions.add_port_to_net(0, 5);
  actions.add_port_to_net(0, 11);
  EXPECT_TRUE(sender.lines().empty());
  // A net without a free port here takes the port at once, without a line.
  put(3, {0, 1});
  put(5, {0, 1});
  model.RenumberNets();
  actions.add_port_to_net(0, 12);
  EXPECT_TRUE(sender.lines().empty());
  EXPECT_EQ(Pair(port(12).bus, port(12).net), (Pair{0, 1}));
  EXPECT_EQ(frontend.moves(), (Moves{{12, N, 1}}));
}

TEST_F(Actions, NetsJoinOnTheWireOrHere) {
  put(3, {0});
  put(5, {0});
  put(9, {2, N, 4});
  put(10, {2, 1, 4});
  model.RenumberNets();
  session.selection = Selection::Net;
  actions.join_nets(0, 1);
  EXPECT_EQ(sender.lines(), Lines{"CONNECT_S 09 03\r"});
  EXPECT_EQ(std::pair(port(9).connect_step, port(3).connect_step), std::pair(6u, 6u));  // linked
  EXPECT_TRUE(dial_marker_left());
  EXPECT_FALSE(session.selection_pending());

  // Net 2 without a free port: its bus and net 1's share link 4 at once; the selection stays.
  sender.clear();
  put(9, {2, 2, 4});
  session.selection = Selection::Net;
  actions.join_nets(0, 1);
  EXPECT_TRUE(sender.lines().empty());
  EXPECT_EQ(Pair(port(3).bus_link, port(5).bus_link), (Pair{4, 4}));
  EXPECT_TRUE(session.selection_pending());
}

}  // namespace
}  // namespace mav::test
