// The stored network sites and the recent-connection list, both kept in the preferences. Pure
// operations on a Preferences record; the caller saves the preferences and rebuilds the menu.
// Any thread; the caller serialises access to the Preferences.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "preferences/Preferences.h"

namespace mav {

// False when 500 sites are stored or a site has the same address and port; otherwise the site
// is appended with its description cut to 47 characters.
bool add_site(Preferences& prefs, const std::array<std::uint8_t, 4>& address, std::int32_t port,
              std::string_view description);

// False for the site in use (`connected` is whether a network channel is open) or with no sites.
// The last site moves into the freed slot; recent entries and the selected site that pointed at
// it follow it there, and the removed site's recent entry is dropped.
bool remove_site(Preferences& prefs, int index, bool connected);

// Puts the connection at the head of the list (an equal entry moves up, the oldest of ten falls
// out). A serial entry also becomes the serial baud rate.
void add_recent(Preferences& prefs, const RecentConnection& entry);
// Drops the first equal entry, if any.
void remove_recent(Preferences& prefs, const RecentConnection& entry);

RecentConnection serial_connection(std::string_view name, std::int32_t baud);
RecentConnection network_connection(int site_index);

// The menu caption of recent entry `index` (0-based), with its & key.
std::string recent_menu_label(const Preferences& prefs, int index);
// One line of the stored-sites list: address, port and description.
std::string site_list_line(const NetworkSite& site);

}  // namespace mav
