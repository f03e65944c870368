// Arbitrary operator input against an arbitrary port table: typed keys, clicks on any element
// with any index, presses and releases anywhere. Nothing may crash, and every line sent must be
// a whole command whose port numbers are ports 00 to 25.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string_view>

#include "frontend/MenuIds.h"
#include "matrix/MatrixGestures.h"
#include "support/FakeClock.h"
#include "support/RecordingFrontend.h"

namespace {

using namespace mav;

class CheckingSender final : public LineSender {
 public:
  bool send_line(std::string_view text, bool) override {
    if (text.empty() || text.back() != '\r') std::abort();
    // Every two-digit argument is a port.
    for (std::size_t i = 0; i + 2 < text.size(); ++i) {
      const bool starts = text[i] == ' ' && text[i + 1] >= '0' && text[i + 1] <= '9';
      if (starts && (text[i + 1] - '0') * 10 + (text[i + 2] - '0') >= kPortCount) std::abort();
    }
    return true;
  }
};

class QuietHooks final : public GestureHooks, public PasswordCheck {
 public:
  GesturePreferences gesture_preferences() const override { return prefs; }
  bool confirm(const MessageBoxRequest&) override { return true; }
  void open_module_settings(int port, bool) override {
    if (port < 0 || port >= kPortCount) std::abort();
  }
  void save_snapshot_before_bulk_change() override {}
  bool confirm_password(Guard) override { return true; }
  GesturePreferences prefs;
};

class QuietView final : public MatrixView {
 public:
  MatrixLayout layout() const override { return {screen_size, false}; }
  void set_view_state(const MatrixViewState&) override {}
  int screen_size = 0;
};

std::int16_t group_of(std::uint8_t byte) {
  return byte % 8 == 7 ? GROUP_NONE : static_cast<std::int16_t>(byte % 8);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kTableBytes = 3 * kPortCount + 1;
  if (size < kTableBytes) return 0;
  DeviceModel model;
  PendingTable pending;
  CheckingSender sender;
  SessionState session;
  mav::test::RecordingFrontend frontend;
  QuietHooks hooks;
  mav::test::FakeClock clock;
  SlideAnimator slides(model, clock);
  QuietView view;
  for (int port = 0; port < kPortCount; ++port) {
    const std::uint8_t* bytes = data + 3 * port;
    PortRecord record;
    model.GetPort(port, record);
    record.mod_type = bytes[0] % 7;
    record.bus = group_of(bytes[1]);
    record.bus_link = group_of(bytes[1] >> 3);
    record.disch_group = group_of(bytes[2]);
    record.perm_conn = bytes[2] >> 7;
    model.SetPort(port, record);
  }
  model.RenumberNets();
  const std::uint8_t options = data[3 * kPortCount];
  hooks.prefs = {(options & 1) != 0, (options & 2) != 0, (options & 4) != 0};
  session.voice_prompts = (options & 8) != 0;
  view.screen_size = (options >> 4) % 3;

  ActionParts parts{model, pending, sender, session, frontend, hooks};
  MatrixGestures gestures(parts, clock, slides, view);
  CommandRegistry commands;
  gestures.register_commands(commands, hooks);
  const int menu_ids[] = {menu::kConnectAll, menu::kDisconnectAll, menu::kPermConnNet1,
                          menu::kPermConnNet2, menu::kPermConnNet7};
  for (std::size_t i = kTableBytes; i + 2 < size; i += 3) {
    const std::uint8_t op = data[i];
    const std::uint8_t a = data[i + 1];
    const std::uint8_t b = data[i + 2];
    const HeldKeys keys{(op & 0x10) != 0, (op & 0x20) != 0};
    const auto button = (op & 0x40) ? MouseButton::Right : MouseButton::Left;
    switch (op % 7) {
      case 0:
        gestures.on_char(static_cast<char>(a));
        break;
      case 1:
        gestures.click(a % 4, static_cast<HitKind>(b % 6), static_cast<int>(a >> 2) - 2);
        break;
      case 2:
        gestures.on_button_down(button, keys, a * 5, b * 4);
        break;
      case 3:
        gestures.on_button_up(button, keys, a * 5, b * 4);
        break;
      case 4:
        gestures.on_mouse_move(a * 5, b * 4);
        break;
      case 5:
        commands.run(menu_ids[a % std::size(menu_ids)]);
        break;
      default:
        session.input_ready = (a & 1) != 0;
        break;
    }
  }
  return 0;
}
