// The main window's title in each situation of the channel. Pure formatting; any thread.
#pragma once

#include <string>
#include <string_view>

#include "preferences/Preferences.h"

namespace mav {

inline constexpr const char* kNotConnectedTitle = "Not Connected - MAV Controller - Orvane Systems";
inline constexpr const char* kConnectingTitle =
    "Connecting to Remote Site - MAV Controller - Orvane Systems";

// A serial connection: the port name, behind the operator's own title when one is in use.
std::string serial_title(const Preferences& prefs, std::string_view port_name);
// A connected network site: its description, or its address and port when it has none.
std::string network_site_title(const NetworkSite& site);

// The operator's name for the gateway in a window title: the title without the program's own
// suffix (what the automation interface's hello calls the site).
std::string_view site_of_title(std::string_view title);

}  // namespace mav
