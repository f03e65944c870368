// Every operator setting of the program, as held in memory. The preferences file stores this
// record whole (PreferencesCodec.h gives the byte layout); texts longer than their file field are
// cut when written. The parts another subsystem works with are that subsystem's own types.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "matrix/ColorScheme.h"
#include "modules/PhoneBook.h"
#include "security/PasswordRules.h"

namespace mav {

inline constexpr std::uint8_t kPreferencesVersion = 27;
inline constexpr int kMaxSites = 500;
inline constexpr int kMaxRecent = 10;
inline constexpr std::size_t kPinTableImageSize = 720;  // 20 entries of 36 bytes

struct NetworkSite {
  std::array<std::uint8_t, 4> address{};  // first byte = first number of the dotted form
  std::int32_t port = 0;
  std::string description;  // at most 47 characters
  bool operator==(const NetworkSite&) const = default;
};

struct RecentConnection {
  bool is_serial = false;
  std::string serial_name;  // at most 26 characters
  std::int32_t baud = 0;
  std::int32_t site_index = 0;
  // Serial entries match by name and baud rate, network entries by site.
  bool same_connection(const RecentConnection& other) const;
};

// Twenty free entries: empty name, PIN 0, level 10.
std::array<std::uint8_t, kPinTableImageSize> default_pin_table_image();

struct Preferences {
  std::uint8_t auto_save_slot = 0;
  std::uint8_t screen_size = 0;  // 0 = 800 x 600, 1 = 1024 x 768, 2 = 1280 x 1024
  ColorScheme colors{{31, 50, 76}, {185, 155, 103}};
  std::string serial_port_name = "COM1";
  std::int32_t serial_baud = 9600;
  std::string log_file_name = "MAVPCI1.log";
  std::string custom_title = "MAV Controller - Orvane Systems";
  bool use_custom_title = false;
  bool auto_connect = false;
  Protection protection;
  bool sound_on = true;
  bool cor_reporting = true;
  bool ptt_reporting = true;
  bool right_button_disconnects = true;
  bool voice_prompts = true;
  bool auto_indicator_switching = true;
  bool show_exit_reminder = true;
  std::int16_t animation_delay = 500;
  PhoneBook dial_list;  // at most 50
  bool network_mode = false;
  std::int32_t selected_site = 0;
  std::vector<NetworkSite> sites;        // at most 500
  std::vector<RecentConnection> recent;  // most recent first, at most 10
  bool hover_descriptions = true;
  // The gateway's PIN users in the table's own byte image (the PIN table owns its layout).
  std::array<std::uint8_t, kPinTableImageSize> pin_table_image = default_pin_table_image();

  int site_count() const { return static_cast<int>(sites.size()); }
};

// The screen size a fresh start chooses for a display whose full-screen client area is `width`
// pixels wide: up to 800 the small size, up to 1024 the middle one, up to 1280 the large one;
// anything wider keeps the small size. Any thread.
std::uint8_t screen_size_for_width(int width);

}  // namespace mav
