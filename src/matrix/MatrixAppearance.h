// Everything the matrix takes from the operator's preferences, in one plain struct that the
// application shell fills from the preferences file and hands to the matrix widget whenever a
// preference changes. Defaults are those of a fresh installation.
#pragma once

#include <cstdint>

namespace mav {

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const Rgb&) const = default;
};

struct MatrixAppearance {
  int screen_size = 0;  // 0 = 800 x 600, 1 = 1024 x 768, 2 = 1280 x 1024
  Rgb background_color{31, 50, 76};
  Rgb grid_color{185, 155, 103};
  int animation_delay = 500;  // ms per icon slide, 0 = jump at once
  bool hover_descriptions = true;
  bool operator==(const MatrixAppearance&) const = default;
};

}  // namespace mav
