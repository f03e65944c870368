#include "matrix/ColorScheme.h"

namespace mav {
namespace {

constexpr Rgb ColorScheme::*kColours[] = {&ColorScheme::background, &ColorScheme::grid};
constexpr std::uint8_t Rgb::*kChannels[] = {&Rgb::red, &Rgb::green, &Rgb::blue};

}  // namespace

std::uint8_t component(const ColorScheme& scheme, int index) {
  return scheme.*kColours[index / 3].*kChannels[index % 3];
}

ColorScheme with_component(ColorScheme scheme, int index, std::uint8_t value) {
  scheme.*kColours[index / 3].*kChannels[index % 3] = value;
  return scheme;
}

ColorScheme with_grid_matching_background(ColorScheme scheme) {
  scheme.grid = scheme.background;
  return scheme;
}

ColorScheme random_color_scheme(const std::function<int()>& draw) {
  constexpr int kGeneratorBits = 0x7FFF;
  ColorScheme scheme;
  for (int index = 0; index < kColorComponents; ++index) {
    scheme =
        with_component(scheme, index, static_cast<std::uint8_t>((draw() & kGeneratorBits) / 128));
  }
  return scheme;
}

}  // namespace mav
