// The gesture code and the connection actions on a real model, pending table and slide animator,
// with the lines, the screen and the shell's answers recorded.
#pragma once

#include <gtest/gtest.h>

#include "matrix/MatrixGestures.h"
#include "protocol/RecordingSender.h"
#include "support/FakeClock.h"
#include "support/OperatorHooks.h"
#include "support/RecordingFrontend.h"

namespace mav::test {

using Lines = std::vector<std::string>;
inline constexpr int N = GROUP_NONE;

// Lines sent or sounds played, joined with '|' to compare against one literal.
inline std::string Join(const Lines& lines) {
  std::string joined;
  for (const std::string& line : lines) joined += (joined.empty() ? "" : "|") + line;
  return joined;
}

// Names table rows by their index, so that the names do not depend on the rows' bytes.
inline constexpr auto RowName = [](const auto& row) { return "Row" + std::to_string(row.index); };

class RecordingView final : public MatrixView {
 public:
  MatrixLayout layout() const override { return {0, false}; }  // 800 x 600, 13 columns
  void set_view_state(const MatrixViewState& view) override { shown = view; }
  MatrixViewState shown;
};

struct PortSetup {
  int bus = GROUP_NONE, group = GROUP_NONE /* DISCH */, link = GROUP_NONE;
  bool permanent = false;
};

class GestureRig : public ::testing::Test {
 protected:
  // A module in the port with its groups, and no step waiting.
  void put(int port, PortSetup setup = {}, std::uint32_t type = MOD_TOV5) {
    PortRecord record;
    model.GetPort(port, record);
    record.mod_type = type;
    record.bus = static_cast<std::int16_t>(setup.bus);
    record.disch_group = static_cast<std::int16_t>(setup.group);
    record.bus_link = static_cast<std::int16_t>(setup.link);
    record.perm_conn = setup.permanent ? 1 : 0;
    record.disch_step = record.connect_step = 0;
    record.pending_partner = PORT_NONE;
    record.pending_bus = GROUP_NONE;
    model.SetPort(port, record);
  }
  PortRecord port(int p) const {
    PortRecord record;
    model.GetPort(p, record);
    return record;
  }
  // A press at (x, y) and its release, both with the given keys.
  void click_at(MouseButton button, HeldKeys keys, int x, int y) {
    gestures.on_button_down(button, keys, x, y);
    gestures.on_button_up(button, keys, x, y);
  }
  static int x_of(int p) { return ColumnLeft({0, false}, p) + 5; }  // 800 x 600, 13 columns
  static int y_of(int row) { return IconTop(0, row) + 5; }
  void type(const std::string& keys) {
    for (char key : keys) gestures.on_char(key);
  }
  bool dial_marker_left() {
    std::uint8_t data1 = 0, data2 = 0;
    return pending.Take(PendingTable::kConnectWaits, PendingTable::kDialMarkerPort, data1, data2);
  }
  Lines sounds() const { return frontend.sounds(); }

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

}  // namespace mav::test
