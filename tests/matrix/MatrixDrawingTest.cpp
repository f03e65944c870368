// What the matrix shows, apart from the widget: the hit test against the sensitive areas of every
// screen size and layout, probed at the edges of each area and one pixel outside; which artwork a
// port shows, the random colour scheme's arithmetic, the monitor list under a port's name, and the
// icon slides on a fake clock (small screen: row 0 at y 27, net 1 at y 87, net 2 at 147).
#include <gtest/gtest.h>

#include <array>
#include <tuple>
#include <vector>

#include "matrix/Artwork.h"
#include "matrix/ColorScheme.h"
#include "matrix/HitTest.h"
#include "matrix/MonitorListText.h"
#include "matrix/SlideAnimator.h"
#include "model/DeviceModel.h"
#include "support/FakeClock.h"

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
      EXPECT_TRUE(y < 0 || HitTest(scene, x, y) != hit) << x << "," << y;
    }
  }
};

TEST_P(Layouts, EveryAreaEndsAtItsEdges) {
  for (bool monitor_mode : {false, true}) {
    scene.monitor_mode = monitor_mode;
    ExpectBox(n.corner_x0, n.corner_y0, n.corner_x1 - 1, n.corner_y1 - 1, {HIT_CORNER, 0});
  }
  for (int x : {0, n.monitor_panel_x - 1}) {
    EXPECT_EQ(HitTest(scene, x, n.button_b), (MatrixHit{HIT_MONITOR_PANEL, 0}));
  }
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
    if (port < columns) ExpectBox(x, y, x + column.w, y + n.row_h, {HIT_PORT, port});
    EXPECT_TRUE(port < columns || HitTest(scene, x, y) == kNone);
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
    EXPECT_EQ(std::pair(HitTest(scene, 20, 20), HitTest(scene, 70, 30)), std::pair(kNone, kNone));
  }
}

TEST(Artwork, IconForPresetAndCustom) {
  PortRecord record{};
  record.mod_type = MOD_LINE7;
  record.icon_preset = 1;
  record.icon_color = 7;
  const int id = IconFor(record, {1, false});
  EXPECT_TRUE(id != kNoIcon && id != IconFor(record, {1, true}));  // half width: another picture
  EXPECT_EQ(IconFor(record, {3, false}), kNoIcon);
  record.icon_color = 8;  // no such colour, then no such module
  const int bad_color = IconFor(record, {1, false});
  record.icon_color = 0;
  record.mod_type = 6;
  EXPECT_EQ(std::pair(bad_color, IconFor(record, {1, false})), std::pair(kNoIcon, kNoIcon));
  record.icon_preset = 0;
  for (const auto& [icon_id, expected] :
       {std::pair{551, 551}, {576, 576}, {-1, kNoIcon}, {577, kNoIcon}, {550, kNoIcon}}) {
    record.icon_id = icon_id;
    EXPECT_EQ(IconFor(record, {0, true}), expected) << icon_id;
  }
}

TEST(ColorScheme, RandomSchemeDividesSixDrawsBy128InComponentOrder) {
  // A generator wider than 15 bits (the last draw): only the low 15 bits count.
  const int draws[] = {0, 127, 128, 32767, 16448, 0x7FFFFFFF};
  std::size_t next = 0;
  const ColorScheme scheme = random_color_scheme([&] { return draws[next++]; });
  std::string components;
  for (int index = 0; index < kColorComponents; ++index) {
    components += std::to_string(component(scheme, index)) + " ";
  }
  EXPECT_EQ(components + std::to_string(next), "0 0 1 255 128 255 6");
}

TEST(FormatMonitorList, RunsAndSinglesUpToTheEndMarkOrTheLastSlot) {
  // clang-format off
  for (const auto& [entries, text] : {std::pair<std::vector<int>, const char*>{{4, 1, 2, 3, 9},
       "1-4,9"}, {{8, 7, 5, 2, 0, 1}, "0-2,5,7-8"}, {{12}, "12"}, {{25, 3}, "3,25"},
       {{24, 25}, "24-25"}, {{}, ""}, {{0, 1, 2, PORT_NONE, 4}, "0-2"}}) {
    // clang-format on
    std::array<std::uint8_t, kMonitorSlots> list;
    list.fill(PORT_NONE);
    std::copy(entries.begin(), entries.end(), list.begin());
    EXPECT_EQ(FormatMonitorList(list), text);
  }
  std::array<std::uint8_t, kMonitorSlots> full{};
  for (std::size_t i = 0; i < full.size(); ++i) full[i] = static_cast<std::uint8_t>(i);
  EXPECT_EQ(FormatMonitorList(full), "0-26");  // no end mark: all 27 slots, nothing beyond
  EXPECT_EQ(FormatMonitorList(std::span<const std::uint8_t>()), "");
}

struct Slides : testing::Test {
  DeviceModel model;
  test::FakeClock clock;
  SlideAnimator slides{model, clock};

  Slides() {
    model.Update(3, [](PortRecord& r) { r.mod_type = MOD_TOV5; });
    slides.set_screen_size(0);
    slides.set_animation_delay(450);
  }
  int Y() { return slides.take_frame().icons[3].y; }
  // Steps after each time: the flags returned (any active, frame due, slide ended) and the y.
  std::string Steps(std::initializer_list<int> times) {
    std::string seen;
    for (int ms : times) {
      clock.advance_ms(static_cast<std::uint32_t>(ms));
      const SlideStep step = slides.animation_step();
      seen += std::to_string(step.any_active) + std::to_string(step.frame_due) +
              std::to_string(step.slide_ended) + " " + std::to_string(Y()) + "|";
    }
    return seen;
  }
};

TEST_F(Slides, PositionsRoundTowardZeroTurnRoundJumpWithoutDelayAndSurviveTheClockWrapping) {
  EXPECT_TRUE(slides.start_move(3, GROUP_NONE, 2).frame_due);
  EXPECT_EQ(Steps({225, 224, 1, 0}), "100 87|110 146|011 147|000 147|");  // 27 + 120 x 449 / 450

  slides.set_screen_size(2);  // large: row 0 at 43, net 1 at 139
  slides.start_move(3, 0, 1);
  EXPECT_EQ(Steps({150}), "100 75|");   // 43 + 96 x 150 / 450
  slides.start_move(3, 1, GROUP_NONE);  // back up from y 75: 75 - 32 x 100 / 450
  EXPECT_EQ(Steps({100, 350}), "100 68|011 43|");

  slides.set_screen_size(0);
  slides.set_animation_delay(0);
  slides.start_move(3, 0, 7);
  EXPECT_TRUE(slides.is_active(3));
  EXPECT_TRUE(slides.animation_step().slide_ended);
  EXPECT_EQ(Y(), 447);
  slides.set_animation_delay(450);
  clock.set_ms(0xFFFFFF00u);
  slides.start_move(3, 0, 2);
  EXPECT_EQ(Steps({0x100 + 125}), "100 128|");  // wraps past zero: 27 + 120 x 381 / 450
}

TEST_F(Slides, PortsWithoutModulesOrOutOfRangeDoNotSlide) {
  for (int port : {4, -1, 26}) EXPECT_FALSE(slides.start_move(port, 0, 1).any_active) << port;
  EXPECT_FALSE(slides.any_active() || slides.is_active(99) || slides.animation_step().frame_due);
}

}  // namespace
}  // namespace mav
