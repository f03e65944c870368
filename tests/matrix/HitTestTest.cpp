// The hit test against the sensitive areas of every screen size and layout, probed at the edges
// of each area and one pixel outside.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "matrix/HitTest.h"

namespace mav {
namespace {

struct Cells {
  int a, pitch, w;  // cell c: a + c pitch <= x <= a + c pitch + w
};

struct HitNumbers {
  int size;
  int corner_x0, corner_x1, corner_y0, corner_y1;
  int header_band;
  Cells header[2];  // 13 columns, 26 columns
  int monitor_panel_x;
  int left_band_end;  // first x outside the left band
  int button_a, button_b, button_pitch, button_h;
  int row_b, row_pitch, row_h;
  Cells column[2];
};

// clang-format off
const HitNumbers kSizes[] = {
    {0, 7, 52, 7, 52, 22, {{77, 56, 25}, {67, 28, 19}}, 59, 47,
     11, 93, 60, 40, 27, 60, 52, {{66, 56, 47}, {65, 28, 24}}},
    {1, 9, 66, 8, 66, 28, {{99, 72, 32}, {86, 36, 24}}, 75, 61,
     16, 118, 77, 51, 35, 77, 67, {{84, 72, 60}, {83, 36, 31}}},
    {2, 10, 82, 11, 81, 35, {{123, 90, 40}, {107, 44, 30}}, 94, 77,
     20, 149, 96, 64, 43, 96, 90, {{106, 90, 75}, {104, 44, 38}}},
};
// clang-format on

constexpr MatrixHit kNone{HIT_NONE, 0};

struct Layouts : testing::TestWithParam<std::tuple<int, bool>> {
  const HitNumbers& n = kSizes[std::get<0>(GetParam())];
  const bool wide = std::get<1>(GetParam());
  const Cells& header = n.header[wide];
  const Cells& column = n.column[wide];
  const int columns = wide ? 26 : 13;
  HitScene scene;

  Layouts() {
    scene.layout = {n.size, wide};
    for (auto [port, row] : {std::pair{0, 0}, {3, 2}, {12, 7}, {20, 1}}) Place(port, row);
  }
  void Place(int port, int row, bool sliding = false) {
    scene.ports[static_cast<std::size_t>(port)] = {true, row, sliding};
  }
  MatrixHit At(int x, int y) const { return HitTest(scene, x, y); }
};

TEST_P(Layouts, CornerCoversItsSquareOnly) {
  for (bool monitor_mode : {false, true}) {
    scene.monitor_mode = monitor_mode;
    EXPECT_EQ(At(n.corner_x0, n.corner_y0), (MatrixHit{HIT_CORNER, 0}));
    EXPECT_EQ(At(n.corner_x1 - 1, n.corner_y1 - 1), (MatrixHit{HIT_CORNER, 0}));
    EXPECT_NE(At(n.corner_x0 - 1, n.corner_y0).kind, HIT_CORNER);
    EXPECT_NE(At(n.corner_x0, n.corner_y0 - 1).kind, HIT_CORNER);
    EXPECT_NE(At(n.corner_x1, n.corner_y0).kind, HIT_CORNER);
    EXPECT_NE(At(n.corner_x0, n.corner_y1).kind, HIT_CORNER);
  }
  scene.monitor_mode = false;
  EXPECT_EQ(At(n.corner_x1, n.corner_y1 - 1), kNone);
}

TEST_P(Layouts, ColumnHeadersOnlyInsideTheHeaderBand) {
  for (int c : {0, 1, columns - 1}) {
    const int x = header.a + c * header.pitch;
    SCOPED_TRACE("column " + std::to_string(c));
    EXPECT_EQ(At(x, 0), (MatrixHit{HIT_COLUMN_HEADER, c}));
    EXPECT_EQ(At(x + header.w, n.header_band - 1), (MatrixHit{HIT_COLUMN_HEADER, c}));
    EXPECT_EQ(At(x + header.w + 1, 0), kNone);
    EXPECT_EQ(At(x - 1, 0), kNone);
    // Below the band the same x is a matrix point above the first row.
    EXPECT_EQ(At(x, n.header_band), kNone);
  }
  // The pattern goes on past the last column: in 26 columns the picture still shows column 26,
  // a port that never holds a module.
  EXPECT_EQ(At(header.a + columns * header.pitch, 0), (MatrixHit{HIT_COLUMN_HEADER, columns}));
  // In the band nothing else is hit, not even the left panel.
  EXPECT_EQ(At(n.button_a, 0), kNone);
}

TEST_P(Layouts, NetButtonsInTheLeftBand) {
  for (int row : {0, 3, 6}) {
    const int top = n.button_b + row * n.button_pitch;
    SCOPED_TRACE("button " + std::to_string(row));
    EXPECT_EQ(At(n.button_a, top), (MatrixHit{HIT_NET_BUTTON, row}));
    EXPECT_EQ(At(n.left_band_end - 1, top + n.button_h), (MatrixHit{HIT_NET_BUTTON, row}));
    EXPECT_EQ(At(n.button_a - 1, top), kNone);
    EXPECT_EQ(At(n.button_a, top + n.button_h + 1), kNone);
    EXPECT_EQ(At(n.left_band_end, top), kNone);
  }
  EXPECT_EQ(At(n.button_a, n.button_b - 1), kNone);
  EXPECT_EQ(At(n.button_a, n.button_b + 7 * n.button_pitch), kNone);
}

TEST_P(Layouts, MonitorPanelReplacesTheButtonsInMonitorMode) {
  const int y = n.button_b;  // a net button outside monitor mode
  scene.monitor_mode = true;
  EXPECT_EQ(At(0, y), (MatrixHit{HIT_MONITOR_PANEL, 0}));
  EXPECT_EQ(At(n.monitor_panel_x - 1, y), (MatrixHit{HIT_MONITOR_PANEL, 0}));
  EXPECT_EQ(At(n.monitor_panel_x, y), kNone);
  EXPECT_EQ(At(header.a, 0), (MatrixHit{HIT_COLUMN_HEADER, 0}));
  scene.monitor_mode = false;
  EXPECT_EQ(At(n.button_a, y), (MatrixHit{HIT_NET_BUTTON, 0}));
  EXPECT_EQ(At(n.monitor_panel_x - 1, 5 * n.row_pitch), kNone);
}

TEST_P(Layouts, PortsWhereTheirIconsStand) {
  std::vector<std::pair<int, int>> shown = {{0, 0}, {3, 2}, {12, 7}};
  if (wide) shown.emplace_back(20, 1);  // the upper half only shows in 26 columns
  for (const auto& [port, row] : shown) {
    const int x = column.a + port * column.pitch;
    const int y = n.row_b + row * n.row_pitch;
    const MatrixHit hit{HIT_PORT, port};
    SCOPED_TRACE("port " + std::to_string(port));
    EXPECT_EQ(At(x, y), hit);
    EXPECT_EQ(At(x + column.w, y + n.row_h), hit);
    EXPECT_EQ(At(x - 1, y), kNone);
    EXPECT_EQ(At(x, y - 1), kNone);
    EXPECT_EQ(At(x + column.w + 1, y), kNone);
    EXPECT_EQ(At(x, y + n.row_h + 1), kNone);  // the name box under the icon
  }
  // Another row of an occupied column, the crossing of an empty column, and the place a further
  // column would take (in 13 columns where port 20 would stand if it were shown) are no hit.
  EXPECT_EQ(At(column.a + 3 * column.pitch, n.row_b), kNone);
  EXPECT_EQ(At(column.a + 1 * column.pitch, n.row_b), kNone);
  EXPECT_EQ(At(column.a + columns * column.pitch, n.row_b + n.row_pitch), kNone);
}

TEST_P(Layouts, SlidingIconIsNoHit) {
  const int x = column.a + 5 * column.pitch;
  const int y = n.row_b + 4 * n.row_pitch;
  Place(5, 4, true);
  EXPECT_EQ(At(x, y), kNone);
  Place(5, 4, false);
  EXPECT_EQ(At(x, y), (MatrixHit{HIT_PORT, 5}));
}

INSTANTIATE_TEST_SUITE_P(AllSizes, Layouts,
                         testing::Combine(testing::Values(0, 1, 2), testing::Bool()));

TEST(HitTest, NothingOffThePictureOrInAnUnknownSize) {
  HitScene scene;
  scene.ports[0] = {true, 0, false};
  for (int size : {0, 1, 2}) {
    scene.layout = {size, false};
    EXPECT_EQ(HitTest(scene, -5, 30), kNone);
    EXPECT_EQ(HitTest(scene, 70, -30), kNone);
    EXPECT_EQ(HitTest(scene, 100000, 100000), kNone);
  }
  for (const MatrixLayout layout : {MatrixLayout{3, false}, MatrixLayout{-1, true}}) {
    scene.layout = layout;
    EXPECT_EQ(HitTest(scene, 20, 20), kNone);
    EXPECT_EQ(HitTest(scene, 70, 30), kNone);
  }
}

}  // namespace
}  // namespace mav
