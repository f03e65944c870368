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
