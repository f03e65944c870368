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

}  // namespace mav
