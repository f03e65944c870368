// The gesture dispatcher, the mouse's press-and-release rule, the keyboard commands, disconnect
// mode and the refusals' status texts, on a matrix with net 1 (ports 03 and 05 on bus 0), modules
// in ports 00 to 08 and no module in 09.
#include "matrix/GestureRig.h"

namespace mav::test {
namespace {

class Gestures : public GestureRig {
 protected:
  Gestures() {
    for (int p = 0; p <= 8; ++p) put(p);
    put(3, {0});
    put(5, {0});
    PortRecord monitoring = port(4);
    AddMonitor(monitoring, 6);
    model.SetPort(4, monitoring);
    model.RenumberNets();
  }
  // A left press on port p's icon in the row and its release, on port p_up when given.
  void press(int p, int row, HeldKeys down = {}, HeldKeys up = {}, int p_up = -1) {
    gestures.on_button_down(MouseButton::Left, down, x_of(p), y_of(row));
    gestures.on_button_up(MouseButton::Left, up, x_of(p_up < 0 ? p : p_up), y_of(row));
  }
};

// Lines sent and sounds played, each list joined with '|'.
struct ClickCase {
  Selection selection;  // with index 3 (a port) or 0 (net 1)
  int monitor_port;     // -1: monitor mode off
  int modifier;
  HitKind kind;
  int index;
  const char *lines, *sounds;
  Selection selection_after;
  int monitor_after;
  bool corner_after = true;
  bool right_button_disconnects = true;
};

constexpr Selection kNone = Selection::None;
constexpr Selection kPort = Selection::Port;
constexpr Selection kNet = Selection::Net;

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
  const std::size_t first_sound = sounds().size();
  gestures.click(c.modifier, c.kind, c.index);
  const Lines played = sounds();
  EXPECT_EQ(Join(sender.lines()), c.lines);
  EXPECT_EQ(Join(Lines(played.begin() + static_cast<std::ptrdiff_t>(first_sound), played.end())),
            c.sounds);
  EXPECT_EQ(
      std::tuple(session.selection.load(), view.shown.monitor_mode_port, view.shown.corner_switch),
      std::tuple(c.selection_after, c.monitor_after, c.corner_after));
}

INSTANTIATE_TEST_SUITE_P(Table, Clicks, ::testing::ValuesIn(kClicks), RowName);

TEST_F(Gestures, PressAndReleaseMustMeetOnOneElementWithTheSameKeys) {
  press(3, 1);
  EXPECT_EQ(session.selection.load(), kPort);
  EXPECT_EQ(frontend.cursor(), CursorShape::Selected);
  press(7, 0, {}, {}, 8);  // released elsewhere
  EXPECT_FALSE(session.selection_pending());
  press(3, 1, {true, false});  // Ctrl let go
  EXPECT_TRUE(sender.lines().empty());
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
  EXPECT_FALSE(session.selection_pending());
  EXPECT_EQ(frontend.cursor(), CursorShape::Arrow);
}

TEST_F(Gestures, DisconnectModeLeftClickDisconnectsEvenWithEditSettingsAndSwitchesBack) {
  hooks.prefs.right_button_disconnects = false;
  gestures.click(0, HIT_CORNER, 0);
  ASSERT_FALSE(view.shown.corner_switch);
  press(3, 1);
  EXPECT_EQ(sender.lines(), Lines{"DISC_S 03\r"});
  EXPECT_TRUE(view.shown.corner_switch);

  // Without automatic switching the indicator stays in disconnect mode.
  hooks.prefs.auto_indicator_switching = false;
  gestures.click(0, HIT_CORNER, 0);
  press(5, 1);
  EXPECT_EQ(sender.lines().back(), "DISC_S 05\r");
  EXPECT_FALSE(view.shown.corner_switch);
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
    if (net_click) {
      click_at(MouseButton::Left, {}, 20, 100);
    } else {
      type("c07");
      click_at(MouseButton::Left, {}, x_of(5), y_of(1));
    }
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
  EXPECT_EQ(view.shown.monitor_mode_port, -1);
  EXPECT_EQ(sounds().back(), "Deactivate.wav");
  EXPECT_FALSE(view.shown.corner_switch);
  session.input_ready = false;
  type("t");
  EXPECT_FALSE(view.shown.corner_switch);
}

// Why a gesture was refused, in the status line (a machine without sound hears no Buzz), and the
// mark of a selection a keyboard command left pending.
TEST_F(Gestures, RefusalsSayWhyInTheStatusLine) {
  put(1, {1, N, N, true});
  put(2, {1});
  put(6, {N, 0});
  put(7, {N, 0});
  model.RenumberNets();
  hooks.prefs.right_button_disconnects = true;
  const struct {
    std::vector<std::tuple<int, HitKind, int>> clicks;  // modifier, kind, index
    const char* text;
  } cases[] = {
      {{{1, HIT_PORT, 1}}, "Port 01 is permanently connected"},
      {{{1, HIT_PORT, 8}}, "Port 08 is not connected"},
      {{{0, HIT_NET_BUTTON, 4}}, "Net 5 is empty"},
      {{{0, HIT_COLUMN_HEADER, 9}}, "Port 09 has no module"},
      {{{0, HIT_PORT, 6}, {0, HIT_PORT, 7}}, "Port 06 and Port 07 are in the same DISCH group"},
      {{{0, HIT_PORT, 3}, {0, HIT_NET_BUTTON, 0}}, "Port 03 is already on Net 1"},
  };
  for (const auto& c : cases) {
    for (const auto& [modifier, kind, index] : c.clicks) gestures.click(modifier, kind, index);
    EXPECT_EQ(frontend.last_status_text(), c.text);
    gestures.on_char(kEscape);
  }
  type("c08");
  EXPECT_EQ(frontend.last_status_text(), "c08 selected, waiting for the other end");
  type("c00");  // the other end: the two are joined
  EXPECT_EQ(frontend.last_status_text(), "");
  type("n1");
  EXPECT_EQ(frontend.last_status_text(), "n1 selected, waiting for the other end");
}

}  // namespace
}  // namespace mav::test
