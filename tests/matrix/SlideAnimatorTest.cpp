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
};

TEST_F(Slides, PositionsAlongTheWayRoundedTowardZeroUntilTheDelayHasPassed) {
  EXPECT_TRUE(slides.start_move(3, GROUP_NONE, 2).frame_due);
  EXPECT_TRUE(slides.is_active(3));
  EXPECT_FALSE(After(225).frame_due);  // the first frame is still on its way
  EXPECT_EQ(Y(), 87);
  const SlideStep step = After(224);
  EXPECT_TRUE(step.any_active && step.frame_due && !step.slide_ended);
  EXPECT_EQ(Y(), 146);  // 27 + 120 x 449 / 450
  const SlideStep last = After(1);
  EXPECT_TRUE(last.slide_ended && !last.any_active);
  EXPECT_FALSE(slides.is_active(3));
  EXPECT_EQ(Y(), 147);
  EXPECT_FALSE(slides.animation_step().frame_due);  // nothing moved
}

TEST_F(Slides, TurnsRoundWhereTheIconStands) {
  slides.set_screen_size(2);  // large: row 0 at 43, net 1 at 139
  slides.start_move(3, 0, 1);
  After(150);
  EXPECT_EQ(Y(), 75);                   // 43 + 96 x 150 / 450
  slides.start_move(3, 1, GROUP_NONE);  // back up from y 75
  After(100);
  EXPECT_EQ(Y(), 68);  // 75 - 32 x 100 / 450
  EXPECT_TRUE(After(350).slide_ended);
  EXPECT_EQ(Y(), 43);
}

TEST_F(Slides, DelayZeroJumpsAtTheNextStepAndTheClockMayWrap) {
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
  EXPECT_FALSE(slides.any_active());
  EXPECT_FALSE(slides.is_active(99));
  EXPECT_FALSE(slides.animation_step().frame_due);
}

}  // namespace
}  // namespace mav
