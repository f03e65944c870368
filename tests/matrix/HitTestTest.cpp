// The hit test against the sensitive areas of every screen size and layout, probed at the edges
// of each area and one pixel outside.
#include <gtest/gtest.h>

#include <tuple>

#include "matrix/HitTest.h"

namespace mav {
namespace {

struct Cells {
  int a, pitch, w;  // cell c: a + c pitch <= x <= a + c pitch + w
};

struct HitNumbers {
  int corner_x0, corner_x1, corner_y0, corner_y1, header_band;
  Cells header[2];  // 13 columns, 26 columns
  int monitor_panel_x, left_band_end;
  int button_a, button_b, button_pitch, button_h, row_b, row_pitch, row_h;
  Cells column[2];
};

// clang-format off
const HitNumbers kSizes[] = {
    {7, 52, 7, 52, 22, {{77, 56, 25}, {67, 28, 19}}, 59, 47, 11, 93, 60, 40, 27, 60, 52,
     {{66, 56, 47}, {65, 28, 24}}},
    {9, 66, 8, 66, 28, {{99, 72, 32}, {86, 36, 24}}, 75, 61, 16, 118, 77, 51, 35, 77, 67,
     {{84, 72, 60}, {83, 36, 31}}},
    {10, 82, 11, 81, 35, {{123, 90, 40}, {107, 44, 30}}, 94, 77, 20, 149, 96, 64, 43, 96, 90,
     {{106, 90, 75}, {104, 44, 38}}},
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
    scene.layout = {std::get<0>(GetParam()), wide};
    for (auto [port, row] : {std::pair{0, 0}, {3, 2}, {12, 7}, {20, 1}}) {
      scene.ports[static_cast<std::size_t>(port)] = {true, row, false};
    }
  }
  // Probes two corners of a box inside and one pixel outside each side (the top of the picture
  // has no outside).
  void ExpectBox(int x0, int y0, int x1, int y1, MatrixHit hit) {
    SCOPED_TRACE(testing::Message() << x0 << "," << y0);
    EXPECT_EQ(HitTest(scene, x0, y0), hit);
    EXPECT_EQ(HitTest(scene, x1, y1), hit);
    for (auto [x, y] : {std::pair{x0 - 1, y0}, {x0, y0 - 1}, {x1 + 1, y1}, {x1, y1 + 1}}) {
      if (y >= 0) {
        EXPECT_NE(HitTest(scene, x, y), hit) << x << "," << y;
      }
    }
  }
};

TEST_P(Layouts, EveryAreaEndsAtItsEdges) {
  for (bool monitor_mode : {false, true}) {
    scene.monitor_mode = monitor_mode;
    ExpectBox(n.corner_x0, n.corner_y0, n.corner_x1 - 1, n.corner_y1 - 1, {HIT_CORNER, 0});
  }
  EXPECT_EQ(HitTest(scene, n.monitor_panel_x - 1, n.button_b), (MatrixHit{HIT_MONITOR_PANEL, 0}));
  EXPECT_EQ(HitTest(scene, 0, n.button_b), (MatrixHit{HIT_MONITOR_PANEL, 0}));
  EXPECT_EQ(HitTest(scene, n.monitor_panel_x, n.button_b), kNone);
  scene.monitor_mode = false;
  EXPECT_EQ(HitTest(scene, n.corner_x1, n.corner_y1 - 1), kNone);

  // The header pattern goes on past the last column: in 26 columns the picture still shows
  // column 26, a port that never holds a module. Below the band the same x hits nothing.
  for (int c : {0, columns - 1, columns}) {
    const int x = header.a + c * header.pitch;
    ExpectBox(x, 0, x + header.w, n.header_band - 1, {HIT_COLUMN_HEADER, c});
  }
  EXPECT_EQ(HitTest(scene, header.a, n.header_band), kNone);
  EXPECT_EQ(HitTest(scene, n.button_a, 0), kNone);  // the left panel does not reach the band

  for (int row : {0, 6}) {
    const int top = n.button_b + row * n.button_pitch;
    ExpectBox(n.button_a, top, n.left_band_end - 1, top + n.button_h, {HIT_NET_BUTTON, row});
  }
  EXPECT_EQ(HitTest(scene, n.button_a, n.button_b - 1), kNone);
  EXPECT_EQ(HitTest(scene, n.button_a, n.button_b + 7 * n.button_pitch), kNone);

  // The upper half only shows in 26 columns; under the icon stands its name box.
  for (auto [port, row] : {std::pair{0, 0}, {3, 2}, {12, 7}, {20, 1}}) {
    const int x = column.a + port * column.pitch;
    const int y = n.row_b + row * n.row_pitch;
    if (port < columns) {
      ExpectBox(x, y, x + column.w, y + n.row_h, {HIT_PORT, port});
    } else {
      EXPECT_EQ(HitTest(scene, x, y), kNone);
    }
  }
  EXPECT_EQ(HitTest(scene, column.a + 3 * column.pitch, n.row_b), kNone);  // another row
  EXPECT_EQ(HitTest(scene, column.a + column.pitch, n.row_b), kNone);      // an empty column
  scene.ports[3].sliding = true;
  EXPECT_EQ(HitTest(scene, column.a + 3 * column.pitch, n.row_b + 2 * n.row_pitch), kNone);
}

INSTANTIATE_TEST_SUITE_P(AllSizes, Layouts,
                         testing::Combine(testing::Values(0, 1, 2), testing::Bool()));

TEST(HitTest, NothingOffThePictureOrInAnUnknownSize) {
  HitScene scene;
  scene.ports[0] = {true, 0, false};
  for (int size : {0, 1, 2}) {
    scene.layout = {size, false};
    for (auto [x, y] : {std::pair{-5, 30}, {70, -30}, {100000, 100000}}) {
      EXPECT_EQ(HitTest(scene, x, y), kNone);
    }
  }
  for (const MatrixLayout layout : {MatrixLayout{3, false}, MatrixLayout{-1, true}}) {
    scene.layout = layout;
    EXPECT_EQ(HitTest(scene, 20, 20), kNone);
    EXPECT_EQ(HitTest(scene, 70, 30), kNone);
  }
}

}  // namespace
}  // namespace mav
