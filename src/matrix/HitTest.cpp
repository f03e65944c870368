#include "matrix/HitTest.h"

namespace mav {
namespace {

// clang-format off
constexpr HitAreas kHitAreas[kScreenSizeCount] = {
    // corner          band  header 13    header 26    mon  left  buttons           rows
    //                                                                             columns 13  columns 26
    {7, 52, 7, 52,     22,   77, 56, 25,  67, 28, 19,  59,  47,   11, 93, 60, 40,   27, 60, 52,
     66, 56, 47,  65, 28, 24},
    {9, 66, 8, 66,     28,   99, 72, 32,  86, 36, 24,  75,  61,   16, 118, 77, 51,  35, 77, 67,
     84, 72, 60,  83, 36, 31},
    {10, 82, 11, 81,   35,  123, 90, 40, 107, 44, 30,  94,  77,   20, 149, 96, 64,  43, 96, 90,
     106, 90, 75, 104, 44, 38},
};
// clang-format on

// The index of the cell that v falls into, when cells start at a, repeat every pitch and are
// sensitive for offsets 0 to width; -1 before the first cell and in the gaps.
int CellOf(int v, int a, int pitch, int width) {
  if (v < a) return -1;
  const int offset = v - a;
  return offset % pitch <= width ? offset / pitch : -1;
}

}  // namespace

const HitAreas* HitAreasFor(int screen_size) {
  if (screen_size < 0 || screen_size >= kScreenSizeCount) return nullptr;
  return &kHitAreas[screen_size];
}

MatrixHit HitTest(const HitScene& scene, int x, int y) {
  const HitAreas* areas = HitAreasFor(scene.layout.screen_size);
  if (areas == nullptr) return {};
  const HitAreas& h = *areas;
  const bool wide = scene.layout.show_26_columns;
  const int columns = scene.layout.columns();

  if (x >= h.corner_x0 && x < h.corner_x1 && y >= h.corner_y0 && y < h.corner_y1) {
    return {HIT_CORNER, 0};
  }
  if (y < h.header_band) {
    const int column = wide ? CellOf(x, h.header_a_26, h.header_pitch_26, h.header_w_26)
                            : CellOf(x, h.header_a_13, h.header_pitch_13, h.header_w_13);
    // No upper bound: right of the last 26-column header lies column 26, a port that never
    // holds a module.
    if (column >= 0) return {HIT_COLUMN_HEADER, column};
    return {};
  }
  if (scene.monitor_mode && x < h.monitor_panel_x) return {HIT_MONITOR_PANEL, 0};
  if (x < h.left_band_x) {
    if (x < h.button_a) return {};
    const int button = CellOf(y, h.button_b, h.button_pitch, h.button_h);
    if (button >= 0 && button < kNetCount) return {HIT_NET_BUTTON, button};
    return {};
  }
  const int row = CellOf(y, h.row_b, h.row_pitch, h.row_h);
  const int port = wide ? CellOf(x, h.column_a_26, h.column_pitch_26, h.column_w_26)
                        : CellOf(x, h.column_a_13, h.column_pitch_13, h.column_w_13);
  if (row < 0 || port < 0 || port >= columns) return {};
  const PortPlacement& placed = scene.ports[static_cast<std::size_t>(port)];
  if (!placed.has_module || placed.row != row || placed.sliding) return {};
  return {HIT_PORT, port};
}

}  // namespace mav
