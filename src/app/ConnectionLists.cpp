#include "app/ConnectionLists.h"

#include <algorithm>
#include <cstdio>

namespace mav {
namespace {

constexpr std::size_t kSiteDescriptionLength = 47;
constexpr std::size_t kRecentNameLength = 26;

std::string dotted(const std::array<std::uint8_t, 4>& address) {
  char text[16];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d", address[0], address[1], address[2], address[3]);
  return text;
}

}  // namespace

bool add_site(Preferences& prefs, const std::array<std::uint8_t, 4>& address, std::int32_t port,
              std::string_view description) {
  if (prefs.site_count() >= kMaxSites) return false;
  const bool duplicate = std::any_of(prefs.sites.begin(), prefs.sites.end(), [&](const auto& site) {
    return site.address == address && site.port == port;
  });
  if (duplicate) return false;
  prefs.sites.push_back(
      {address, port, std::string(description.substr(0, kSiteDescriptionLength))});
  return true;
}

bool remove_site(Preferences& prefs, int index, bool connected) {
  if (index == prefs.selected_site && connected && prefs.network_mode) return false;
  if (prefs.sites.empty() || index < 0 || index >= prefs.site_count()) return false;
  const int last = prefs.site_count() - 1;
  prefs.sites[static_cast<std::size_t>(index)] = prefs.sites.back();
  prefs.sites.pop_back();
  remove_recent(prefs, network_connection(index));
  if (index != last) {
    for (RecentConnection& entry : prefs.recent) {
      if (!entry.is_serial && entry.site_index == last) entry.site_index = index;
    }
    if (prefs.selected_site == last) prefs.selected_site = index;
  }
  return true;
}

void add_recent(Preferences& prefs, const RecentConnection& entry) {
  if (entry.is_serial) prefs.serial_baud = entry.baud;
  RecentConnection stored = entry;
  if (stored.serial_name.size() > kRecentNameLength) stored.serial_name.resize(kRecentNameLength);
  const auto same = std::find_if(prefs.recent.begin(), prefs.recent.end(),
                                 [&](const auto& held) { return held.same_connection(stored); });
  if (same != prefs.recent.end()) {
    prefs.recent.erase(same);
  } else if (prefs.recent.size() >= kMaxRecent) {
    prefs.recent.pop_back();
  }
  prefs.recent.insert(prefs.recent.begin(), stored);
}

void remove_recent(Preferences& prefs, const RecentConnection& entry) {
  const auto same = std::find_if(prefs.recent.begin(), prefs.recent.end(),
                                 [&](const auto& held) { return held.same_connection(entry); });
  if (same != prefs.recent.end()) prefs.recent.erase(same);
}

RecentConnection serial_connection(std::string_view name, std::int32_t baud) {
  return {true, std::string(name.substr(0, kRecentNameLength)), baud, 0};
}

RecentConnection network_connection(int site_index) {
  return {false, {}, 0, site_index};
}

std::string recent_menu_label(const Preferences& prefs, int index) {
  const RecentConnection& entry = prefs.recent.at(static_cast<std::size_t>(index));
  const int number = index + 1;
  char label[128];
  if (entry.is_serial) {
    std::snprintf(label, sizeof label, "&%d - %s, %d Baud (Serial Port)", number,
                  entry.serial_name.c_str(), entry.baud);
  } else if (entry.site_index < 0 || entry.site_index >= prefs.site_count()) {
    std::snprintf(label, sizeof label, "&%d - 0.0.0.0 (Network)", number);
  } else {
    const NetworkSite& site = prefs.sites[static_cast<std::size_t>(entry.site_index)];
    if (site.description.empty()) {
      std::snprintf(label, sizeof label, "&%d - %s (Network)", number,
                    dotted(site.address).c_str());
    } else {
      std::snprintf(label, sizeof label, "&%d - %s (Network)", number, site.description.c_str());
    }
  }
  return label;
}

std::string site_list_line(const NetworkSite& site) {
  return dotted(site.address) + ":" + std::to_string(site.port) + " (" + site.description + ")";
}

}  // namespace mav
