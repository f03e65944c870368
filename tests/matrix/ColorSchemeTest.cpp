// The random colour scheme's arithmetic.
#include <gtest/gtest.h>

#include <vector>

#include "matrix/ColorScheme.h"

namespace mav {
namespace {

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

}  // namespace
}  // namespace mav
