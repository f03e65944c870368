// The matrix's colour scheme: the background and grid-line colours as the operator edits them,
// six 8-bit components, with the ten preset schemes and the random one. Any thread.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "matrix/MatrixAppearance.h"

namespace mav {

struct ColorScheme {
  Rgb background;
  Rgb grid;
  bool operator==(const ColorScheme&) const = default;
};

// The six components in the order the operator edits them: background red, green, blue, then
// grid red, green, blue.
inline constexpr int kColorComponents = 6;
std::uint8_t component(const ColorScheme& scheme, int index);
ColorScheme with_component(ColorScheme scheme, int index, std::uint8_t value);

// "Default", then "1" to "8". The "Default" background is not the fresh installation's.
inline constexpr std::array<ColorScheme, 9> kColorPresets = {{
    {{38, 58, 84}, {185, 155, 103}},
    {{142, 118, 90}, {168, 188, 189}},
    {{101, 101, 101}, {253, 253, 253}},
    {{68, 22, 28}, {190, 136, 82}},
    {{41, 30, 63}, {175, 165, 194}},
    {{17, 67, 30}, {189, 201, 186}},
    {{233, 233, 155}, {28, 73, 181}},
    {{78, 166, 150}, {185, 221, 236}},
    {{60, 60, 60}, {148, 182, 215}},
}};

// The grid lines take the background's colour.
ColorScheme with_grid_matching_background(ColorScheme scheme);

// Six fresh values of the pseudo-random generator `draw`, one per component in component order,
// each divided by 128. Only the low 15 bits of a value count, the range the scheme is made for,
// so every component lies in 0..255 whatever range the generator has.
ColorScheme random_color_scheme(const std::function<int()>& draw);

// Where the scheme lives: setting it stores, saves and repaints at once.
class ColorSchemeStore {
 public:
  virtual ~ColorSchemeStore() = default;
  virtual ColorScheme color_scheme() const = 0;
  virtual void set_colors(const ColorScheme& scheme) = 0;
};

}  // namespace mav
