// Icon slides on a fake clock: positions along the way, turning round, jumping when animation
// is off, and one UI frame at a time. Small screen: row 0 at y 27, net 1 at y 87, net 2 at 147.
#include <gtest/gtest.h>

#include "matrix/SlideAnimator.h"
#include "model/DeviceModel.h"
#include "support/FakeClock.h"

namespace mav {
namespace {

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
