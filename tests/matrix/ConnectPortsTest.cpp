// Connecting a selected port 03 to a clicked port 07, for every combination of their buses and
// DISCH groups: the lines in order, the steps stored for the reply handlers, the sound, the dial
// marker and whether the selection survives.
#include "matrix/GestureRig.h"

namespace mav::test {
namespace {

constexpr int N = GROUP_NONE;
constexpr int PN = PORT_NONE;

struct Steps {
  std::uint32_t disch = 0;
  std::uint32_t connect = 0;
  int partner = PN;
  int bus = N;
  bool operator==(const Steps&) const = default;
};

Steps steps_of(const PortRecord& r) {
  return {r.disch_step, r.connect_step, r.pending_partner, r.pending_bus};
}

struct ConnectCase {
  const char* name;
  PortSetup s, t;
  bool voice_prompts;
  Lines lines;
  const char* sound;  // nullptr: none
  Steps s_steps, t_steps;
  bool selection_stays = false;
};

const PortSetup kFree{};
const PortSetup kGroup0{N, 0};
const PortSetup kGroup1{N, 1};
const PortSetup kBus1{1};
const PortSetup kBus2{2};

// clang-format off
const ConnectCase kCases[] = {
    {"BothFree", kFree, kFree, true, {"CONNECT_S 03 07\r"}, "LongConnect.wav", {0, 2}, {0, 0}},
    {"FreeToGroup", kFree, kGroup0, true, {"CONNECT_S 03 07\r"}, "Connect.wav", {0, 7}, {}},
    {"SameGroupUnconnected", kGroup0, kGroup0, true, {}, "Buzz.wav", {}, {}},
    {"OtherGroupsUnconnected", kGroup0, kGroup1, true,
     {"VPMTS OFF\r", "DISCH 03\r", "VPMTS ON\r", "DISCH 07\r"}, nullptr, {1, 0}, {7, 0, 3}, true},
    {"OtherGroupsUnconnectedQuiet", kGroup0, kGroup1, false,
     {"DISCH 03\r", "DISCH 07\r"}, nullptr, {1, 0}, {7, 0, 3}, true},
    {"GroupToFree", kGroup0, kFree, true, {"CONNECT_S 07 03\r"}, "Connect.wav", {}, {0, 7}},
    {"FreeToConnectedGroup", kFree, {1, 0}, true, {"CONNECT_S 03 07\r"}, "Connect.wav", {0, 7}, {}},
    {"FreeToConnected", kFree, kBus1, true, {"CONNECT_S 03 07\r"}, "Connect.wav", {0, 5}, {}},
    {"FreeToLinkedBus", kFree, {1, N, 4}, true, {"CONNECT_S 03 07\r"}, "Connect.wav",
     {0, 5, PN, 1}, {}},
    {"GroupToConnectedSameGroup", kGroup0, {1, 0}, true, {}, "Buzz.wav", {}, {}},
    {"GroupToConnectedOtherGroup", kGroup0, {1, 1}, true, {"CONNECT_S 03 07\r"}, "Connect.wav",
     {0, 8}, {}},
    {"GroupToConnected", kGroup0, kBus1, true, {"VPMTS OFF\r", "DISCH 07\r", "VPMTS ON\r"},
     "Connect.wav", {}, {5, 0, 3}},
    {"ConnectedToFree", {1, N, 4}, kFree, true, {"CONNECT_S 07 03\r"}, "Connect.wav", {},
     {0, 5, PN, 1}},
    {"ConnectedToGroup", kBus1, kGroup0, false, {"DISCH 03\r"}, "Connect.wav", {5, 0, 7}, {}},
    {"ConnectedGroupToSameGroup", {1, 0}, kGroup0, true, {}, "Buzz.wav", {}, {}},
    {"ConnectedGroupToFree", {1, 0}, kFree, true, {"CONNECT_S 07 03\r"}, "Connect.wav", {},
     {0, 7}},
    {"ConnectedGroupToOtherGroup", {1, 0}, kGroup1, true, {"CONNECT_S 03 07\r"}, "Connect.wav",
     {0, 8}, {}},
    {"BothConnectedOtherGroups", {1, 0}, {2, 1}, true, {"CONNECT_S 03 07\r"}, "Connect.wav",
     {0, 8}, {}},
    {"BothConnectedSameGroup", {1, 0}, {2, 0}, true, {}, "Buzz.wav", {}, {}},
    {"SplitTwoBuses", kBus1, kBus2, true,
     {"VPMTS OFF\r", "DISCH 03\r", "DISCH 07\r", "VPMTS ON\r"}, "Connect.wav", {1, 0}, {5, 0, 3}},
    {"SplitFirstGrouped", {1, 0}, kBus2, false, {"DISCH 07\r"}, "Connect.wav", {}, {5, 0, 3}},
    {"SplitSecondGrouped", kBus1, {2, 0}, true, {"VPMTS OFF\r", "DISCH 03\r", "VPMTS ON\r"},
     "Connect.wav", {5, 0, 7}, {}},
    {"SplitSharedBusAlone", kBus1, kBus1, true, {}, "Buzz.wav", {}, {}},
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

  EXPECT_EQ(sender.lines(), c.lines);
  EXPECT_EQ(sounds(), c.sound ? Lines{c.sound} : Lines{});
  EXPECT_EQ(steps_of(port(3)), c.s_steps);
  EXPECT_EQ(steps_of(port(7)), c.t_steps);
  const bool sends_connect_s = !c.lines.empty() && c.lines[0].starts_with("CONNECT_S");
  EXPECT_EQ(dial_marker_left(), sends_connect_s);
  EXPECT_EQ(session.selection_pending(), c.selection_stays);
  for (bool expects : sender.expects_reply()) EXPECT_TRUE(expects);
}

INSTANTIATE_TEST_SUITE_P(Rows, ConnectPorts, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

// Two ports alone on one bus cannot be split apart; a third free port on it makes the split
// possible, unless a marked pair would leave only a marked port behind.
TEST_F(GestureRig, SplittingASharedBusNeedsAThirdFreePort) {
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

}  // namespace
}  // namespace mav::test
