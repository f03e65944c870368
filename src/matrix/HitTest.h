// What lies under a point of the matrix picture, for the gesture code. Pure: it works on a
// snapshot of the port placement, so it needs neither the model nor a display. Any thread.
#pragma once

#include <array>

#include "matrix/MatrixGeometry.h"
#include "model/PortRecord.h"

namespace mav {

enum HitKind : int {
  HIT_NONE = 0,
  HIT_CORNER = 1,
  HIT_PORT = 2,           // value: the port number
  HIT_NET_BUTTON = 3,     // value: the button row 0-6 (net 1-7)
  HIT_MONITOR_PANEL = 4,  // only in monitor mode
  HIT_COLUMN_HEADER = 5,  // value: the column number
};

struct MatrixHit {
  HitKind kind = HIT_NONE;
  int value = 0;
  bool operator==(const MatrixHit&) const = default;
};

// One port as the picture shows it: a port is hit only where its icon stands and never while it
// slides.
struct PortPlacement {
  bool has_module = false;
  int row = 0;  // RowOfNet of the port's net
  bool sliding = false;
};

struct HitScene {
  MatrixLayout layout;
  bool monitor_mode = false;
  std::array<PortPlacement, kPortCount> ports{};
};

// The sensitive areas are a little smaller than the artwork, so that a click on a border or
// between two buttons selects nothing; the artwork draws its buttons over exactly these areas.
struct HitAreas {
  int corner_x0, corner_x1, corner_y0, corner_y1;  // x0 <= x < x1, y0 <= y < y1
  int header_band;                                 // y below this is the header band
  int header_a_13, header_pitch_13, header_w_13;   // cell c: a + c pitch <= x <= a + c pitch + w
  int header_a_26, header_pitch_26, header_w_26;
  int monitor_panel_x;                             // x below this, in monitor mode
  int left_band_x;                                 // x below this
  int button_a, button_b, button_pitch, button_h;  // net buttons: x >= a, rows as the cells
  int row_b, row_pitch, row_h;
  int column_a_13, column_pitch_13, column_w_13;
  int column_a_26, column_pitch_26, column_w_26;
};

// Nullptr for a size other than 0, 1 or 2.
const HitAreas* HitAreasFor(int screen_size);

MatrixHit HitTest(const HitScene& scene, int x, int y);

}  // namespace mav
