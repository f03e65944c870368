// What the matrix draws, apart from the widget: which artwork a port shows, the random colour
// scheme's arithmetic, the monitor list under a port's name, and the icon slides on a fake clock
// (small screen: row 0 at y 27, net 1 at y 87, net 2 at 147).
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "matrix/Artwork.h"
#include "matrix/ColorScheme.h"
#include "matrix/MonitorListText.h"
#include "matrix/SlideAnimator.h"
#include "model/DeviceModel.h"
#include "support/FakeClock.h"

namespace mav {
namespace {

TEST(Artwork, IconForPresetAndCustom) {
  PortRecord record{};
  record.mod_type = MOD_LINE7;
  record.icon_preset = 1;
  record.icon_color = 7;
  const int id = IconFor(record, {1, false});
  EXPECT_NE(id, kNoIcon);
  EXPECT_NE(id, IconFor(record, {1, true}));  // half width is a different picture
  EXPECT_EQ(IconFor(record, {3, false}), kNoIcon);
  record.icon_color = 8;
  EXPECT_EQ(IconFor(record, {1, false}), kNoIcon);
  record.icon_color = 0;
  record.mod_type = 6;
  EXPECT_EQ(IconFor(record, {1, false}), kNoIcon);
  record.icon_preset = 0;
  for (const auto& [icon_id, expected] :
       {std::pair{551, 551}, {576, 576}, {-1, kNoIcon}, {577, kNoIcon}, {550, kNoIcon}}) {
    record.icon_id = icon_id;
    EXPECT_EQ(IconFor(record, {0, true}), expected) << icon_id;
  }
}

TEST(ColorScheme, RandomSchemeDividesSixDrawsBy128InComponentOrder) {
  const struct {
    int drawn;
    std::uint8_t component;
  } draws[] = {{0, 0}, {127, 0}, {128, 1}, {32767, 255}, {16448, 128}, {0x7FFFFFFF, 255}};
  // A generator wider than 15 bits (the last draw): only the low 15 bits count.
  std::size_t next = 0;
  const ColorScheme scheme = random_color_scheme([&] { return draws[next++].drawn; });
  EXPECT_EQ(next, 6u);
  for (int index = 0; index < kColorComponents; ++index) {
    EXPECT_EQ(component(scheme, index), draws[index].component) << index;
  }
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
    PortRecord record{};
    model.GetPort(3, record);
    record.mod_type = MOD_TOV5;
    model.SetPort(3, record);
    slides.set_screen_size(0);
    slides.set_animation_delay(450);
  }
  SlideStep After(int ms) {
    clock.advance_ms(static_cast<std::uint32_t>(ms));
    return slides.animation_step();
  }
  int Y() { return slides.take_frame().icons[3].y; }
  // Steps after each time: the flags returned (any active, frame due, slide ended) and the y.
  std::string Steps(std::initializer_list<int> times) {
    std::string seen;
    for (int ms : times) {
      const SlideStep step = After(ms);
      seen += std::to_string(step.any_active) + std::to_string(step.frame_due) +
              std::to_string(step.slide_ended) + " " + std::to_string(Y()) + "|";
    }
    return seen;
  }
};

TEST_F(Slides, PositionsRoundTowardZeroTurnRoundJumpWithoutDelayAndSurviveTheClockWrapping) {
  EXPECT_TRUE(slides.start_move(3, GROUP_NONE, 2).frame_due);
  EXPECT_EQ(Steps({225, 224, 1, 0}), "100 87|110 146|011 147|000 147|");  // 27 + 120 x 449 / 450
  EXPECT_FALSE(slides.is_active(3));

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
  After(0x100 + 125);   // wraps past zero: 381 ms elapsed
  EXPECT_EQ(Y(), 128);  // 27 + 120 x 381 / 450
}

TEST_F(Slides, PortsWithoutModulesOrOutOfRangeDoNotSlide) {
  for (int port : {4, -1, 26}) EXPECT_FALSE(slides.start_move(port, 0, 1).any_active) << port;
  EXPECT_FALSE(slides.any_active() || slides.is_active(99) || slides.animation_step().frame_due);
}

}  // namespace
}  // namespace mav
