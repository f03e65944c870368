// The settings that other subsystems' commands keep in the preferences file.
#include "app/Application.h"

namespace mav {
namespace {

Rgb rgb_of(std::uint32_t colour) {
  return {static_cast<std::uint8_t>(colour), static_cast<std::uint8_t>(colour >> 8),
          static_cast<std::uint8_t>(colour >> 16)};
}

std::uint32_t colour_of(const Rgb& colour) {
  return rgb(colour.red, colour.green, colour.blue);
}

}  // namespace

ColorScheme Application::color_scheme() const {
  const Preferences prefs = prefs_.get();
  return {rgb_of(prefs.background_color), rgb_of(prefs.grid_color)};
}

void Application::set_colors(const ColorScheme& scheme) {
  prefs_.change([&](Preferences& p) {
    p.background_color = colour_of(scheme.background);
    p.grid_color = colour_of(scheme.grid);
  });
  save_preferences();
  if (window_) window_->repaint_matrix();
}

void Application::store_log_file_name(const std::string& name) {
  prefs_.change([&](Preferences& p) { p.log_file_name = name; });
  save_preferences();
}

}  // namespace mav
