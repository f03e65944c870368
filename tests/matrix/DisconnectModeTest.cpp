// Disconnect mode against "Edit Settings" on the right button: Shift-clicks do nothing in either
// mode, and a port click that did not disconnect leaves nothing behind once connect mode returns.
// Net 1 holds ports 03 and 05; modules in ports 00 to 08.
#include "matrix/GestureRig.h"

namespace mav::test {
namespace {

class DisconnectMode : public GestureRig {
 protected:
  DisconnectMode() {
    for (int p = 0; p <= 8; ++p) put(p);
    put(3, {0});
    put(5, {0});
    model.RenumberNets();
    hooks.prefs.right_button_disconnects = false;
  }
  void type(const std::string& keys) {
    for (char key : keys) gestures.on_char(key);
  }
  void release(MouseButton button, HeldKeys keys, int x, int y) {
    gestures.on_button_down(button, keys, x, y);
    gestures.on_button_up(button, keys, x, y);
  }
  static int x_of(int p) { return ColumnLeft({0, false}, p) + 5; }
  static int y_of(int row) { return IconTop(0, row) + 5; }
};

TEST_F(DisconnectMode, ShiftClicksSendNothingInEitherMode) {
  const HeldKeys shift{false, true};
  const HeldKeys ctrl_shift{true, true};
  for (const char* mode : {"", "t"}) {
    type(mode);
    release(MouseButton::Left, shift, x_of(3), y_of(1));
    release(MouseButton::Left, ctrl_shift, x_of(5), y_of(1));
    release(MouseButton::Right, shift, x_of(3), y_of(1));
    release(MouseButton::Left, shift, 20, 100);  // net 1's button
  }
  EXPECT_TRUE(sender.lines().empty());
  EXPECT_TRUE(hooks.settings_opened.empty());
}

struct LeftoverCase {
  const char* name;
  bool net_click;          // else a port click that only ends a pending selection
  std::string keys_after;  // what brings connect mode back, if anything
  Lines lines;
};

// clang-format off
const LeftoverCase kLeftovers[] = {
    {"NetKeyThenEscape", true, "\x1b", {"DISC_S 03\r", "DISC_S 05\r"}},
    {"PortClickThenToggleKey", false, "t", {}},
    {"PortClickThenMonitorMode", false, "m04\x1b", {}},
};
// clang-format on

class Leftovers : public DisconnectMode, public ::testing::WithParamInterface<LeftoverCase> {};

TEST_P(Leftovers, RightClickOnAPortThenOpensItsSettings) {
  const LeftoverCase& c = GetParam();
  type("t");
  if (c.net_click) {
    release(MouseButton::Left, {}, 20, 100);  // net 1's button
  } else {
    type("c07");
    release(MouseButton::Left, {}, x_of(5), y_of(1));
  }
  type(c.keys_after);
  release(MouseButton::Right, {}, x_of(5), y_of(1));
  EXPECT_EQ(sender.lines(), c.lines);
  EXPECT_EQ(hooks.settings_opened, (std::vector<std::pair<int, bool>>{{5, false}}));
}

INSTANTIATE_TEST_SUITE_P(Table, Leftovers, ::testing::ValuesIn(kLeftovers),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace mav::test
