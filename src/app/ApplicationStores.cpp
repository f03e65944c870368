// The settings that other subsystems' commands keep in the preferences file.
#include "app/Application.h"

namespace mav {
ColorScheme Application::color_scheme() const {
  return prefs_.get().colors;
}

void Application::set_colors(const ColorScheme& scheme) {
  prefs_.change([&](Preferences& p) { p.colors = scheme; });
  save_preferences();
  if (window_) window_->repaint_matrix();
}

void Application::store_log_file_name(const std::string& name) {
  prefs_.change([&](Preferences& p) { p.log_file_name = name; });
  save_preferences();
}

}  // namespace mav
