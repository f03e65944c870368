// The connection actions and the gesture dispatcher on a real model, pending table and slide
// animator, with the lines, the screen and the shell's answers recorded: two ports for every
// combination of their buses and DISCH groups, nets, disconnections, permanent marks, the menu
// actions, the mouse's press-and-release rule, the keyboard commands, disconnect mode and the
// refusals' status texts.
#include <gtest/gtest.h>

#include "frontend/MenuIds.h"
#include "matrix/MatrixGestures.h"
#include "protocol/RecordingSender.h"
#include "support/FakeClock.h"
#include "support/OperatorHooks.h"
#include "support/RecordingFrontend.h"

namespace mav::test {
namespace {

using Lines = std::vector<std::string>;
using Moves = std::vector<RecordingFrontend::Move>;
constexpr int N = GROUP_NONE, PN = PORT_NONE;

// Lines sent or sounds played, joined with '|' to compare against one literal.
std::string Join(const Lines& lines) {
  std::string joined;
  for (const std::string& line : lines) joined += (joined.empty() ? "" : "|") + line;
  return joined;
}

// Names table rows by their index, so that the names do not depend on the rows' bytes.
constexpr auto RowName = [](const auto& row) { return "Row" + std::to_string(row.index); };

class RecordingView final : public MatrixView {
 public:
  MatrixLayout layout() const override { return {0, false}; }  // 800 x 600, 13 columns
  void set_view_state(const MatrixViewState& view) override { shown = view; }
  MatrixViewState shown;
};

struct PortSetup {
  int bus = N, group = N /* DISCH */, link = N;
  bool permanent = false;
};
struct Put {
  int port;
  PortSetup setup = {};
  std::uint32_t type = MOD_TOV5;
};

class GestureRig : public ::testing::Test {
 protected:
  // Modules in the ports with their groups, and no step waiting.
  void put(std::initializer_list<Put> ports) {
    for (const Put& entry : ports) {
      model.Update(entry.port, [s = entry.setup, type = entry.type](PortRecord& r) {
        r.mod_type = type;
        r.bus = s.bus, r.disch_group = s.group, r.bus_link = s.link, r.perm_conn = s.permanent;
        r.disch_step = r.connect_step = 0, r.pending_partner = PN, r.pending_bus = N;
      });
    }
  }
  PortRecord port(int p) const {
    PortRecord record;
    model.GetPort(p, record);
    return record;
  }
  void click_at(MouseButton button, HeldKeys keys, int x, int y) {
    gestures.on_button_down(button, keys, x, y);
    gestures.on_button_up(button, keys, x, y);
  }
  static int x_of(int p) { return ColumnLeft({0, false}, p) + 5; }
  static int y_of(int row) { return IconTop(0, row) + 5; }
  void type(const std::string& keys) {
    for (char key : keys) gestures.on_char(key);
  }
  bool dial_marker_left() {
    std::uint8_t data1 = 0, data2 = 0;
    return pending.Take(PendingTable::kConnectWaits, PendingTable::kDialMarkerPort, data1, data2);
  }

  DeviceModel model;
  PendingTable pending;
  RecordingSender sender;
  SessionState session;
  RecordingFrontend frontend;
  OperatorHooks hooks;
  FakeClock clock;
  SlideAnimator slides{model, clock};
  RecordingView view;
  ActionParts parts{model, pending, sender, session, frontend, hooks};
  ConnectionActions actions{parts};
  MatrixGestures gestures{parts, clock, slides, view};
  CommandRegistry registry;
};
using Actions = GestureRig;

struct Steps {
  std::uint32_t disch = 0, connect = 0;
  int partner = PN, bus = N;
  bool operator==(const Steps&) const = default;
};

struct ConnectCase {
  PortSetup s, t;
  bool voice_prompts;
  std::string_view lines;  // joined with '|'
  const char* sound;       // "": none
  Steps s_steps, t_steps;
  bool selection_stays = false;
};

const PortSetup kFree{}, kG0{N, 0}, kG1{N, 1}, kBus1{1}, kBus2{2};
const char *const kC = "Connect.wav", *const kBuzz = "Buzz.wav";

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

// The lines in order, the steps stored for the reply handlers, the sound, the dial marker and
// whether the selection survives.
TEST_P(ConnectPorts, SendsStoresAndSounds) {
  const ConnectCase& c = GetParam();
  session.voice_prompts = c.voice_prompts;
  put({{3, c.s}, {7, c.t}});
  session.selected_index = 3;
  session.selection = Selection::Port;
  actions.connect_ports(3, 7);
  const auto steps = [&](int p) {
    const PortRecord r = port(p);
    return Steps{r.disch_step, r.connect_step, r.pending_partner, r.pending_bus};
  };
  EXPECT_EQ(std::tuple(Join(sender.lines()), Join(frontend.sounds()), session.selection_pending(),
                       dial_marker_left()),
            std::tuple(c.lines, c.sound, c.selection_stays, c.lines.starts_with("CONNECT_S")));
  EXPECT_TRUE(steps(3) == c.s_steps && steps(7) == c.t_steps);
  EXPECT_EQ(sender.expects_reply(), std::vector<bool>(sender.lines().size(), true));
}

INSTANTIATE_TEST_SUITE_P(Rows, ConnectPorts, ::testing::ValuesIn(kCases), RowName);

// Two ports alone on one bus cannot be split apart; a third free port on it makes the split
// possible, unless a marked pair would leave only a marked port behind.
TEST_F(Actions, SplittingASharedBusNeedsAThirdFreePort) {
  std::string splits;
  for (const auto& [s_marked, third] :
       {std::pair{false, PortSetup{0}}, {false, {0, 0}}, {true, {0, N, N, true}}, {true, {0}}}) {
    sender.clear();
    put({{3, {0, N, N, s_marked}}, {7, {0}}, {12, third}});
    actions.connect_ports(3, 7);
    splits += std::to_string(!sender.lines().empty());
  }
  EXPECT_EQ(splits, "1001");
}

TEST_F(Actions, DisconnectingAPortFollowsItsGroupAndMark) {
  put({{8, {0}}, {9, {N, 1}}});
  std::string seen;
  // Connected, marked permanent, unconnected, in a DISCH group with a bus, in a group alone.
  for (const PortSetup& setup : {PortSetup{0}, {0, N, N, true}, {}, {0, 1}, {N, 1}}) {
    sender.clear();
    put({{3, setup}});
    seen += std::to_string(actions.disconnect_port(3));
    seen += " " + Join(sender.lines()) + " " + std::to_string(port(3).disch_step) + " " +
            frontend.sounds().back() + ";";
  }
  EXPECT_EQ(seen,
            "1 DISC_S 03\r 2 Disconnect.wav;0  0 Buzz.wav;0  0 Buzz.wav;"
            "1 VPMTS OFF\r|DISCH 03\r|VPMTS ON\r 6 Disconnect.wav;1 DISC_S 03\r 2 Disconnect.wav;");
  // The group's other member waits for a DISCH reply.
  std::uint8_t step = 0, partner = 0;
  EXPECT_TRUE(pending.Take(PendingTable::kDischWaits, 9, step, partner));
  // On a linked bus the partner is port 8, on the same bus.
  put({{3, {0, 1, 2}}, {8, {4, N, 2}}});
  actions.disconnect_port(3);
  EXPECT_EQ(std::pair(int{port(3).pending_partner}, int{port(3).pending_bus}), std::pair(8, 0));
}

TEST_F(Actions, DisconnectingANet) {
  put({{3, {0, N, N, true}}, {5, {0, N, N, true}}});
  model.RenumberNets();
  EXPECT_FALSE(actions.disconnect_net(1));  // an unlinked net of marked ports stays
  put({{5, {0}}, {6, {0, 2}}});             // a DISCH-group port is let go here and now
  model.RenumberNets();
  EXPECT_TRUE(actions.disconnect_net(1));
  EXPECT_EQ(Join(sender.lines()) + Join(frontend.sounds()), "DISC_S 05\rDisconnect.wav");
  EXPECT_EQ(frontend.moves(), (Moves{{6, 1, N}}));

  // A linked net is taken apart whatever the marks.
  sender.clear();
  session.voice_prompts = false;
  put({{5, {0, 2, 1}}, {3, {0, N, 1, true}}, {6, {0, N, 1}}, {10, {1, N, 1}}, {11, {1, N, 1}}});
  model.RenumberNets();
  EXPECT_TRUE(actions.disconnect_net(port(3).net));
  EXPECT_EQ(Join(sender.lines()), "DISCH 03\r|DISCH 06\r");
  EXPECT_EQ(std::tuple(port(3).disch_step, port(6).disch_step, port(6).pending_partner),
            std::tuple(1u, 8u, 3));
  // The link joined bus 0 to bus 1 only: bus 1 alone keeps no link.
  for (int p : {3, 5, 6, 10, 11}) EXPECT_EQ(port(p).bus_link, N) << p;
}

TEST_F(Actions, PermanentMarksToggleBehindThePassword) {
  put({{3, {0}}, {5, {0}}, {6, {0, 1}}});
  model.RenumberNets();
  gestures.register_commands(registry, hooks);
  registry.run(menu::kPermConnNet1);
  EXPECT_EQ(port(3).perm_conn * 100 + port(5).perm_conn * 10 + port(6).perm_conn, 110);
  registry.run(menu::kPermConnNet1);
  EXPECT_EQ(port(3).perm_conn + port(5).perm_conn, 0);
  registry.run(menu::kPermConnNet2);  // no such net
  hooks.unlocked = false;             // the password check said no
  registry.run(menu::kPermConnNet1);
  EXPECT_EQ(port(3).perm_conn, 0);
  EXPECT_EQ(Join(frontend.sounds()) + Join(sender.lines()), "PC.wav|PC_Off.wav|Buzz.wav");
  EXPECT_EQ(hooks.guards, std::vector<Guard>(3, Guard::PermanentConnections));
}

TEST_F(Actions, ConnectAllAndDisconnectAllAskFirst) {
  gestures.register_commands(registry, hooks);
  put({{2}});
  registry.run(menu::kDisconnectAll);  // a single module: nothing at all
  put({{0, {}, MOD_LINE7}, {4}, {6, {}, MOD_MEK4}, {8, {}, MOD_HK6}});
  hooks.answer_yes = false;
  registry.run(menu::kConnectAll);
  EXPECT_EQ(Join(sender.lines()) + std::to_string(hooks.snapshots), "0");

  hooks.answer_yes = true;  // every radio and handset joins the first radio
  registry.run(menu::kConnectAll);
  session.voice_prompts = false;
  registry.run(menu::kConnectAll);
  EXPECT_EQ(Join(sender.lines()),
            "VPMTS OFF\r|CONNECT 04 02\r|CONNECT 06 02\r|VPMTS ON\r|"
            "CONNECT 04 02\r|CONNECT 06 02\r");
  EXPECT_EQ(hooks.questions.back(), "Connect All:\rAre you sure?");

  session.voice_prompts = true;
  sender.clear();
  put({{5, {0}}, {6, {N, 1}}, {7, {0}}});
  registry.run(menu::kDisconnectAll);
  EXPECT_EQ(Join(sender.lines()), "VPMTS OFF\r|DISC_S 05\r|DISC_S 06\r|DISC_S 07\r|VPMTS ON\r");
  EXPECT_EQ(hooks.questions.back(), "Disconnect All:\rAre you sure?");
  EXPECT_EQ(std::pair(port(6).disch_step, hooks.snapshots), std::pair(2u, 3));
}

TEST_F(Actions, PortJoinsANet) {
  put({{3, {0}}, {5, {0}}, {9, {2}}, {10, {2}}});
  model.RenumberNets();
  // Connected elsewhere: DISCH first, then the reply connects it to the net's free port 03.
  session.voice_prompts = false;
  actions.add_port_to_net(0, 9);
  EXPECT_EQ(std::tuple(port(9).disch_step, int{port(9).pending_partner}, int{port(9).pending_bus}),
            std::tuple(4u, 3, 0));
  // Unconnected: straight to the free port, after the dial marker.
  put({{12}});
  actions.add_port_to_net(0, 12);
  EXPECT_EQ(std::pair(port(12).connect_step, dial_marker_left()), std::pair(5u, true));
  // Already on the net's bus, or in a DISCH group: refused.
  put({{11, {N, 3}}});
  actions.add_port_to_net(0, 5);
  actions.add_port_to_net(0, 11);
  EXPECT_EQ(Join(sender.lines()), "DISCH 09\r|CONNECT_S 12 03\r");
  // A net without a free port here takes the port at once, without a line.
  put({{3, {0, 1}}, {5, {0, 1}}});
  model.RenumberNets();
  sender.clear();
  actions.add_port_to_net(0, 12);
  EXPECT_TRUE(sender.lines().empty());
  EXPECT_EQ(std::pair(int{port(12).bus}, int{port(12).net}), std::pair(0, 1));
  EXPECT_EQ(frontend.moves(), (Moves{{12, N, 1}}));
}

TEST_F(Actions, NetsJoinOnTheWireOrHere) {
  put({{3, {0}}, {5, {0}}, {9, {2, N, 4}}, {10, {2, 1, 4}}});
  model.RenumberNets();
  session.selection = Selection::Net;
  actions.join_nets(0, 1);
  EXPECT_EQ(Join(sender.lines()), "CONNECT_S 09 03\r");
  EXPECT_EQ(std::tuple(port(9).connect_step, port(3).connect_step, dial_marker_left(),
                       session.selection_pending()),
            std::tuple(6u, 6u, true, false));  // linked

  // Net 2 without a free port: its bus and net 1's share link 4 at once; the selection stays.
  sender.clear();
  put({{9, {2, 2, 4}}});
  session.selection = Selection::Net;
  actions.join_nets(0, 1);
  EXPECT_EQ(std::tuple(sender.lines().size(), port(3).bus_link, port(5).bus_link,
                       session.selection_pending()),
            std::tuple(0u, 4, 4, true));
}

// Net 1 (ports 03 and 05 on bus 0), modules in ports 00 to 08, none in 09; 04 monitors 06.
class Gestures : public GestureRig {
 protected:
  Gestures() {
    for (int p = 0; p <= 8; ++p) put({{p, {p == 3 || p == 5 ? 0 : N}}});
    model.Update(4, [](PortRecord& r) { AddMonitor(r, 6); });
    model.RenumberNets();
  }
  // A left press on port p's icon in the row and its release, on port p_up when given.
  void press(int p, int row, HeldKeys down = {}, HeldKeys up = {}, int p_up = -1) {
    gestures.on_button_down(MouseButton::Left, down, x_of(p), y_of(row));
    gestures.on_button_up(MouseButton::Left, up, x_of(p_up < 0 ? p : p_up), y_of(row));
  }
};

// Lines sent and sounds played, each list joined with '|'.
// The selection is made with index 3 (a port) or 0 (net 1); monitor port -1: monitor mode off.
struct ClickCase {
  Selection selection;
  int monitor_port, modifier;
  HitKind kind;
  int index;
  const char *lines, *sounds;
  Selection selection_after;
  int monitor_after;
  bool corner_after = true, right_button_disconnects = true;
};

constexpr Selection kNone = Selection::None, kPort = Selection::Port, kNet = Selection::Net;

// clang-format off
const ClickCase kClicks[] = {
    {kNone, -1, 0, HIT_PORT, 3, "", "Click.wav", kPort, -1},
    {kNone, -1, 0, HIT_NET_BUTTON, 0, "", "Punch.wav", kNet, -1},
    {kNone, -1, 0, HIT_NET_BUTTON, 4, "", "Buzz.wav", kNone, -1},
    {kNone, -1, 0, HIT_CORNER, 0, "", "Click.wav", kNone, -1, false},
    {kNone, 4, 0, HIT_CORNER, 0, "", "Buzz.wav", kNone, 4},
    {kPort, 4, 1, HIT_CORNER, 0, "", "Buzz.wav", kNone, 4},
    {kNone, -1, 0, HIT_COLUMN_HEADER, 4, "", "Activate.wav", kNone, 4},
    {kNone, -1, 0, HIT_COLUMN_HEADER, 9, "", "Buzz.wav", kNone, -1},
    {kNone, 4, 0, HIT_COLUMN_HEADER, 4, "", "Deactivate.wav", kNone, -1},
    {kNone, 4, 0, HIT_PORT, 4, "", "Deactivate.wav", kNone, -1},
    {kNone, 4, 0, HIT_MONITOR_PANEL, 0, "", "Deactivate.wav", kNone, -1},
    {kNone, 4, 0, HIT_PORT, 7, "MON 04 07 ON\r", "Connect.wav", kNone, 4},
    {kNone, 4, 0, HIT_PORT, 6, "MON 04 06 OFF\r", "Disconnect.wav", kNone, 4},
    {kNone, 4, 1, HIT_PORT, 6, "MON 04 06 OFF\r", "Disconnect.wav", kNone, 4},
    {kNone, 4, 1, HIT_PORT, 7, "", "Buzz.wav", kNone, 4},
    {kPort, -1, 0, HIT_PORT, 7, "CONNECT_S 07 03\r", "Connect.wav", kNone, -1},
    {kPort, -1, 0, HIT_COLUMN_HEADER, 4, "", "", kPort, -1},
    {kNone, -1, 0, HIT_COLUMN_HEADER, 26, "", "Buzz.wav", kNone, -1},
    {kPort, -1, 0, HIT_COLUMN_HEADER, 26, "", "", kPort, -1},
    {kNet, -1, 0, HIT_COLUMN_HEADER, 26, "", "", kNone, -1},
    {kNet, -1, 0, HIT_COLUMN_HEADER, 4, "", "", kNone, -1},
    {kNet, -1, 0, HIT_NET_BUTTON, 0, "", "Buzz.wav", kNet, -1},
    {kNet, -1, 0, HIT_PORT, 8, "CONNECT_S 08 03\r", "LongConnect.wav", kNone, -1},
    {kPort, -1, 2, HIT_PORT, 7, "", "", kPort, -1},
    {kNone, -1, 3, HIT_CORNER, 0, "", "", kNone, -1},
    {kPort, -1, 0, HIT_NONE, 0, "", "", kNone, -1},
    {kNone, -1, 1, HIT_PORT, 26, "", "", kNone, -1, true, false},
    {kPort, -1, 1, HIT_PORT, 7, "", "", kNone, -1},
    {kNone, -1, 1, HIT_PORT, 3, "DISC_S 03\r", "Disconnect.wav", kNone, -1},
    {kNone, -1, 1, HIT_PORT, 7, "", "Buzz.wav", kNone, -1},
    {kNone, -1, 1, HIT_NET_BUTTON, 0, "DISC_S 03\r|DISC_S 05\r", "Disconnect.wav", kNone, -1},
    {kNone, -1, 1, HIT_PORT, 3, "", "Click.wav", kNone, -1, true, false},
};
// clang-format on

class Clicks : public Gestures, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(Clicks, Dispatch) {
  const ClickCase& c = GetParam();
  hooks.prefs.right_button_disconnects = c.right_button_disconnects;
  if (c.monitor_port != -1) gestures.click(0, HIT_COLUMN_HEADER, c.monitor_port);
  session.selected_index = c.selection == kNet ? 0 : 3;
  session.selection = c.selection;
  const auto first_sound = static_cast<std::ptrdiff_t>(frontend.sounds().size());
  gestures.click(c.modifier, c.kind, c.index);
  const Lines played = frontend.sounds();
  EXPECT_EQ(
      std::tuple(Join(sender.lines()), Join(Lines(played.begin() + first_sound, played.end())),
                 session.selection.load(), view.shown.monitor_mode_port, view.shown.corner_switch),
      std::tuple(c.lines, c.sounds, c.selection_after, c.monitor_after, c.corner_after));
}

INSTANTIATE_TEST_SUITE_P(Table, Clicks, ::testing::ValuesIn(kClicks), RowName);

TEST_F(Gestures, PressAndReleaseMustMeetOnOneElementWithTheSameKeys) {
  press(3, 1);
  EXPECT_EQ(std::pair(session.selection.load(), frontend.cursor()),
            std::pair(kPort, CursorShape::Selected));
  press(7, 0, {}, {}, 8);  // released elsewhere
  EXPECT_FALSE(session.selection_pending());
  press(3, 1, {true, false});  // Ctrl let go
  EXPECT_FALSE(session.selection_pending());
  session.input_ready = false;  // replies stream in: no new press
  press(7, 0);
  EXPECT_FALSE(session.selection_pending());
  session.input_ready = true;

  // The selected port clicked again, also by the release of a double click, opens its settings
  // marked open; Ctrl+click with edit settings opens them unmarked.
  press(3, 1);
  gestures.on_button_up(MouseButton::Left, {}, ColumnLeft({0, false}, 3), IconTop(0, 1));
  hooks.prefs.right_button_disconnects = false;
  gestures.click(1, HIT_PORT, 5);
  EXPECT_EQ(hooks.settings_opened, (std::vector<std::pair<int, bool>>{{3, true}, {5, false}}));
  EXPECT_EQ(std::tuple(session.selection_pending(), frontend.cursor(), sender.lines().size()),
            std::tuple(false, CursorShape::Arrow, 0u));
}

// A left click in disconnect mode disconnects even with edit settings, then switches back unless
// automatic switching is off.
TEST_F(Gestures, DisconnectModeLeftClickDisconnectsAndSwitchesBack) {
  hooks.prefs.right_button_disconnects = false;
  std::string corner;
  for (bool automatic : {true, false}) {
    hooks.prefs.auto_indicator_switching = automatic;
    gestures.click(0, HIT_CORNER, 0);
    corner += std::to_string(view.shown.corner_switch);
    press(automatic ? 3 : 5, 1);
    corner += std::to_string(view.shown.corner_switch);
  }
  EXPECT_EQ(Join(sender.lines()) + corner, "DISC_S 03\r|DISC_S 05\r0100");
}

// Shift-clicks do nothing in either mode; a disconnect-mode click that did not disconnect leaves
// nothing behind once connect mode returns: a right click then opens the port's settings.
TEST_F(Gestures, DisconnectModeShiftClicksAndLeftovers) {
  hooks.prefs.right_button_disconnects = false;
  for (const char* mode : {"", "t"}) {
    type(mode);
    click_at(MouseButton::Left, {false, true}, x_of(3), y_of(1));
    click_at(MouseButton::Left, {true, true}, x_of(5), y_of(1));
    click_at(MouseButton::Right, {false, true}, x_of(3), y_of(1));
    click_at(MouseButton::Left, {false, true}, 20, 100);  // net 1's button
  }
  EXPECT_TRUE(sender.lines().empty() && hooks.settings_opened.empty());
  for (const auto& [net_click, keys_after, lines] :
       {std::tuple{true, "\x1b", "DISC_S 03\r|DISC_S 05\r"},
        {false, "t", ""},
        {false, "m04\x1b", ""}}) {
    sender.clear();
    hooks.settings_opened.clear();
    if (view.shown.corner_switch) type("t");  // into disconnect mode
    if (!net_click) type("c07");
    click_at(MouseButton::Left, {}, net_click ? 20 : x_of(5), net_click ? 100 : y_of(1));
    type(keys_after);
    click_at(MouseButton::Right, {}, x_of(5), y_of(1));
    EXPECT_EQ(Join(sender.lines()), lines) << keys_after;
    EXPECT_EQ(hooks.settings_opened, (std::vector<std::pair<int, bool>>{{5, false}}));
  }
}

// clang-format off
using KeyCase = std::tuple<std::string, const char*, Selection, const char*>;
const KeyCase kKeys[] = {
    {"c03", "", kPort, ""}, {"c03C07", "CONNECT_S 07 03\r", kNone, ""}, {"c27", "", kNone, ""},
    {"c09", "", kNone, ""}, {"cx", "", kNone, "c"}, {"c0x3", "", kPort, ""},
    {"zx1c0", "", kNone, "c0"}, {"d03", "DISC_S 03\r", kNone, ""}, {"n8", "", kNone, ""},
    {"N1", "", kNet, ""}, {"n2", "", kNone, ""}, {"b1", "DISC_S 03\r|DISC_S 05\r", kNone, ""},
    {"c03n\x1b", "", kNone, ""},
};
// clang-format on

class Keys : public Gestures, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(Keys, Commands) {
  const auto& [keys, lines, selection, buffer] = GetParam();
  type(keys);
  EXPECT_EQ(std::tuple(Join(sender.lines()), session.selection.load(), gestures.key_buffer()),
            std::tuple(lines, selection, buffer));
}

INSTANTIATE_TEST_SUITE_P(Table, Keys, ::testing::ValuesIn(kKeys), RowName);

TEST_F(Gestures, KeysToggleModeAndLeaveMonitorMode) {
  type("m04");
  EXPECT_EQ(view.shown.monitor_mode_port, 4);
  type("\x1bT");
  EXPECT_EQ(
      std::tuple(view.shown.monitor_mode_port, frontend.sounds().back(), view.shown.corner_switch),
      std::tuple(-1, "Deactivate.wav", false));
  session.input_ready = false;
  type("t");
  EXPECT_FALSE(view.shown.corner_switch);
}

// Why a gesture was refused, in the status line (a machine without sound hears no Buzz), and the
// mark of a selection a keyboard command left pending.
TEST_F(Gestures, RefusalsSayWhyInTheStatusLine) {
  put({{1, {1, N, N, true}}, {2, {1}}, {6, {N, 0}}, {7, {N, 0}}});
  model.RenumberNets();
  std::string texts;
  for (const auto& clicks : std::vector<std::vector<std::tuple<int, HitKind, int>>>{
           {{1, HIT_PORT, 1}},
           {{1, HIT_PORT, 8}},
           {{0, HIT_NET_BUTTON, 4}},
           {{0, HIT_COLUMN_HEADER, 9}},
           {{0, HIT_PORT, 6}, {0, HIT_PORT, 7}},
           {{0, HIT_PORT, 3}, {0, HIT_NET_BUTTON, 0}}}) {
    for (const auto& [modifier, kind, index] : clicks) gestures.click(modifier, kind, index);
    texts += frontend.last_status_text() + "|";
    gestures.on_char(kEscape);
  }
  for (const char* keys : {"c08", "c00", "n1"}) {  // c00: the other end, the two are joined
    type(keys);
    texts += frontend.last_status_text() + "|";
  }
  EXPECT_EQ(texts,
            "Port 01 is permanently connected|Port 08 is not connected|Net 5 is empty|"
            "Port 09 has no module|Port 06 and Port 07 are in the same DISCH group|"
            "Port 03 is already on Net 1|c08 selected, waiting for the other end||"
            "n1 selected, waiting for the other end|");
}

}  // namespace
}  // namespace mav::test
