#include "preferences/Preferences.h"

namespace mav {

bool RecentConnection::same_connection(const RecentConnection& other) const {
  if (is_serial != other.is_serial) return false;
  if (is_serial) return serial_name == other.serial_name && baud == other.baud;
  return site_index == other.site_index;
}

std::array<std::uint8_t, kPinTableImageSize> default_pin_table_image() {
  constexpr std::size_t kEntrySize = 36;
  constexpr std::size_t kLevelOffset = 34;
  constexpr std::uint8_t kLevelFree = 10;
  std::array<std::uint8_t, kPinTableImageSize> image{};
  for (std::size_t at = 0; at < image.size(); at += kEntrySize)
    image[at + kLevelOffset] = kLevelFree;
  return image;
}

std::uint8_t screen_size_for_width(int width) {
  if (width <= 800) return 0;
  if (width <= 1024) return 1;
  if (width <= 1280) return 2;
  return 0;
}

}  // namespace mav
