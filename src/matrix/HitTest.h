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

MatrixHit HitTest(const HitScene& scene, int x, int y);

}  // namespace mav
