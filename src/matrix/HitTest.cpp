#include "matrix/HitTest.h"

namespace mav {
namespace {

// The sensitive areas are a little smaller than the artwork, so that a click on a border or
// between two buttons selects nothing.
struct HitMetrics {
  int corner_x0, corner_x1, corner_y0, corner_y1;  // x0 <= x < x1, y0 <= y < y1
  int header_band;                                 // y below this is the header band
  int header_a_13, header_pitch_13, header_w_13;
  int header_a_26, header_pitch_26, header_w_26;
  int monitor_panel_x;  // x below this
  int left_band_x;      // x below this
  int button_a, button_b, button_pitch, button_h;
  int row_b, row_pitch, row_h;
  int column_a_13, column_pitch_13, column_w_13;
  int column_a_26, column_pitch_26, column_w_26;
};

constexpr HitMetrics kHitMetrics[kScreenSizeCount] = {
    {7,  52, 7,  52, 22, 77, 56, 25, 67, 28, 19, 59, 47,
     11, 93, 60, 40, 27, 60, 52, 66, 56, 47, 65, 28, 24},
    {9,  66,  8,  66, 28, 99, 72, 32, 86, 36, 24, 75, 61,
     16, 118, 77, 51, 35, 77, 67, 84, 72, 60, 83, 36, 31},
    {10, 82,  11, 81, 35, 123, 90, 40,  107, 44, 30,  94, 77,
     20, 149, 96, 64, 43, 96,  90, 106, 90,  75, 104, 44, 38},
};

// The index of the cell that v falls into, when cells start at a, repeat every pitch and are
// sensitive for offsets 0 to width; -1 before the first cell and in the gaps.
int CellOf(int v, int a, int pitch, int width) {
  if (v < a) return -1;
  const int offset = v - a;
  return offset % pitch <= width ? offset / pitch : -1;
}

}  // namespace

MatrixHit HitTest(const HitScene& scene, int x, int y) {
  const int size = scene.layout.screen_size;
  if (size < 0 || size >= kScreenSizeCount) return {};
  const HitMetrics& h = kHitMetrics[size];
  const bool wide = scene.layout.show_26_columns;
  const int columns = scene.layout.columns();

  if (x >= h.corner_x0 && x < h.corner_x1 && y >= h.corner_y0 && y < h.corner_y1) {
    return {HIT_CORNER, 0};
  }
  if (y < h.header_band) {
    const int column = wide ? CellOf(x, h.header_a_26, h.header_pitch_26, h.header_w_26)
                            : CellOf(x, h.header_a_13, h.header_pitch_13, h.header_w_13);
    if (column >= 0 && column < columns) return {HIT_COLUMN_HEADER, column};
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
