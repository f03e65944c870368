#include "app/WindowTitles.h"

#include <cstdio>

namespace mav {
namespace {
constexpr std::string_view kSuffix = " - MAV Controller - Orvane Systems";
}

std::string serial_title(const Preferences& prefs, std::string_view port_name) {
  std::string title;
  if (prefs.use_custom_title)
    title = prefs.custom_title + " - [" + std::string(port_name) + "]";
  else
    title = std::string(port_name);
  return title + std::string(kSuffix);
}

std::string network_site_title(const NetworkSite& site) {
  if (!site.description.empty()) return site.description + std::string(kSuffix);
  char text[48];
  std::snprintf(text, sizeof text, "Site: %d.%d.%d.%d:%d", site.address[0], site.address[1],
                site.address[2], site.address[3], site.port);
  return text + std::string(kSuffix);
}

std::string_view site_of_title(std::string_view title) {
  if (title.ends_with(kSuffix)) title.remove_suffix(kSuffix.size());
  return title;
}

}  // namespace mav
