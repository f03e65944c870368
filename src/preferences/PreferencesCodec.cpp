#include "preferences/PreferencesCodec.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "model/TextField.h"

namespace mav {
namespace {

constexpr int kAbsent = -1;
constexpr int kSerialNameSize = 260;
constexpr int kTextSize = 260;
constexpr int kDialFieldSize = 22;
constexpr int kSiteDescriptionSize = 48;
constexpr int kRecentSize = 36;
constexpr int kRecentNameSize = 27;

// Where each field sits in one version of the file. The ten one-byte switches from `sound_on` to
// `show_exit_reminder` are contiguous in every version.
struct Layout {
  int serial_baud;
  int log_file_name;
  int password;
  int custom_title;
  int use_custom_title;
  int auto_connect;
  int switches;
  int animation_delay;
  int dial_numbers;
  int dial_descriptions;
  int dial_count;
  int network_mode;
  int site_count;
  int selected_site;
  int site_descriptions;
  int site_addresses;
  int site_ports;
  int legacy_address;  // the one remote address of the oldest layouts
  int recent;
  int recent_count;
  int hover_descriptions;
  int pin_table;
};

constexpr Layout kLayout27{272,   276,     536,   796,   1056,  1057, 1058, 1068,
                           1070,  2170,    3270,  3271,  3272,  3276, 3280, 27280,
                           29280, kAbsent, 31280, 31640, 31644, 31648};
constexpr Layout kLayout23{kAbsent, 272,     532,     792,     1052,    1053, 1054, 1064,
                           1066,    2166,    3266,    3267,    3268,    3272, 3276, 27276,
                           29276,   kAbsent, kAbsent, kAbsent, kAbsent, 31276};
constexpr Layout kLayout21{kAbsent, 272,     532,     792,     kAbsent, kAbsent, 1052, 1062,
                           1064,    2164,    3264,    3265,    3268,    3272,    3276, 27276,
                           29276,   kAbsent, kAbsent, kAbsent, kAbsent, 31276};
constexpr Layout kLayout18{kAbsent, 272,  532,     792,     kAbsent, kAbsent, 1052,    1062,
                           1064,    2164, 3264,    3265,    kAbsent, kAbsent, kAbsent, kAbsent,
                           kAbsent, 3266, kAbsent, kAbsent, kAbsent, kAbsent};
constexpr Layout kLayout17{kAbsent, 272,     532,     792,     kAbsent, kAbsent, 1052,    1062,
                           1064,    2164,    3264,    kAbsent, kAbsent, kAbsent, kAbsent, kAbsent,
                           kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent};

const Layout* layout_of(std::uint8_t version) {
  switch (version) {
    case 27:
      return &kLayout27;
    case 23:
      return &kLayout23;
    case 21:
      return &kLayout21;
    case 18:
      return &kLayout18;
    case 17:
      return &kLayout17;
    default:
      return nullptr;
  }
}

// A colour in the file: red + 256 x green + 65536 x blue.
Rgb rgb_of(std::uint32_t colour) {
  return {static_cast<std::uint8_t>(colour), static_cast<std::uint8_t>(colour >> 8),
          static_cast<std::uint8_t>(colour >> 16)};
}

std::uint32_t colour_of(const Rgb& colour) {
  return static_cast<std::uint32_t>(colour.red) | static_cast<std::uint32_t>(colour.green) << 8 |
         static_cast<std::uint32_t>(colour.blue) << 16;
}

// Reads fields out of an image that may be shorter than its layout.
class ImageReader {
 public:
  explicit ImageReader(std::span<const std::uint8_t> image) : image_(image) {}

  bool has(int offset, std::size_t size) const {
    return offset != kAbsent && static_cast<std::size_t>(offset) + size <= image_.size();
  }
  template <typename T>
  void read(int offset, T& field) const {
    if (has(offset, sizeof(T))) std::memcpy(&field, image_.data() + offset, sizeof(T));
  }
  void read_flag(int offset, bool& field) const {
    if (has(offset, 1)) field = image_[static_cast<std::size_t>(offset)] != 0;
  }
  // A text field ends at its first NUL or at its last byte, whichever comes first.
  std::string text_at(int offset, std::size_t size) const {
    const auto* begin = reinterpret_cast<const char*>(image_.data() + offset);
    return std::string(begin, strnlen(begin, size - 1));
  }
  void read_text(int offset, std::size_t size, std::string& field) const {
    if (has(offset, size)) field = text_at(offset, size);
  }

 private:
  std::span<const std::uint8_t> image_;
};

class ImageWriter {
 public:
  explicit ImageWriter(std::vector<std::uint8_t>& image) : image_(image) {}
  template <typename T>
  void write(int offset, T value) {
    std::memcpy(image_.data() + offset, &value, sizeof(T));
  }
  void write_flag(int offset, bool value) { write<std::uint8_t>(offset, value ? 1 : 0); }
  // Cut to leave room for the NUL; the image is zeroed beforehand.
  void write_text(int offset, std::size_t size, const std::string& text) {
    const std::string_view kept = FitText(text, size - 1);
    std::memcpy(image_.data() + offset, kept.data(), kept.size());
  }

 private:
  std::vector<std::uint8_t>& image_;
};

// Works for both const and mutable preferences.
template <typename Prefs>
auto switch_fields(Prefs& prefs) {
  return std::array{&prefs.sound_on,
                    &prefs.protection.permanent_connections,
                    &prefs.protection.pin_settings,
                    &prefs.protection.module_settings,
                    &prefs.cor_reporting,
                    &prefs.ptt_reporting,
                    &prefs.right_button_disconnects,
                    &prefs.voice_prompts,
                    &prefs.auto_indicator_switching,
                    &prefs.show_exit_reminder};
}

void decode_colour(const ImageReader& in, int offset, Rgb& colour) {
  std::uint32_t stored = 0;
  if (in.has(offset, sizeof stored)) {
    in.read(offset, stored);
    colour = rgb_of(stored);
  }
}

void decode_dial_list(const ImageReader& in, const Layout& layout, Preferences& prefs) {
  std::int8_t count = 0;
  if (!in.has(layout.dial_count, 1) ||
      !in.has(layout.dial_descriptions, kMaxDialEntries * kDialFieldSize)) {
    return;
  }
  in.read(layout.dial_count, count);
  const int used = std::clamp<int>(count, 0, kMaxDialEntries);
  prefs.dial_list.clear();
  for (int i = 0; i < used; ++i) {
    prefs.dial_list.push_back(
        {in.text_at(layout.dial_numbers + i * kDialFieldSize, kDialFieldSize),
         in.text_at(layout.dial_descriptions + i * kDialFieldSize, kDialFieldSize)});
  }
}

void decode_sites(const ImageReader& in, const Layout& layout, Preferences& prefs) {
  if (layout.legacy_address != kAbsent) {
    // The oldest layouts knew one remote address, used only in network operation.
    NetworkSite site;
    site.port = 23;
    if (prefs.network_mode && in.has(layout.legacy_address, 4)) {
      in.read(layout.legacy_address, site.address);
      prefs.sites = {site};
    }
    return;
  }
  if (!in.has(layout.site_count, 4) || !in.has(layout.site_ports, kMaxSites * 4)) return;
  std::int32_t count = 0;
  in.read(layout.site_count, count);
  in.read(layout.selected_site, prefs.selected_site);
  prefs.sites.resize(static_cast<std::size_t>(std::clamp(count, 0, kMaxSites)));
  for (int i = 0; i < prefs.site_count(); ++i) {
    NetworkSite& site = prefs.sites[static_cast<std::size_t>(i)];
    site.description =
        in.text_at(layout.site_descriptions + i * kSiteDescriptionSize, kSiteDescriptionSize);
    in.read(layout.site_addresses + i * 4, site.address);
    in.read(layout.site_ports + i * 4, site.port);
  }
}

void decode_recent(const ImageReader& in, const Layout& layout, Preferences& prefs) {
  if (!in.has(layout.recent_count, 4)) return;
  std::int32_t count = 0;
  in.read(layout.recent_count, count);
  prefs.recent.clear();
  for (int i = 0; i < std::clamp(count, 0, kMaxRecent); ++i) {
    const int at = layout.recent + i * kRecentSize;
    RecentConnection entry;
    in.read_flag(at, entry.is_serial);
    entry.serial_name = in.text_at(at + 1, kRecentNameSize);
    in.read(at + 28, entry.baud);
    in.read(at + 32, entry.site_index);
    prefs.recent.push_back(entry);
  }
}

void decode_pin_table(const ImageReader& in, const Layout& layout, Preferences& prefs) {
  if (in.has(layout.pin_table, kPinTableSize)) in.read(layout.pin_table, prefs.pin_table_image);
}

}  // namespace

bool is_readable_preferences_version(std::uint8_t version) {
  return layout_of(version) != nullptr;
}

bool decode_preferences(std::span<const std::uint8_t> image, Preferences& prefs) {
  if (image.empty()) return false;
  const std::uint8_t version = image[0];
  const Layout* layout = layout_of(version);
  if (layout == nullptr) return false;
  const ImageReader in(image);

  if (version == kPreferencesVersion) in.read(1, prefs.auto_save_slot);
  in.read(2, prefs.screen_size);
  decode_colour(in, 4, prefs.colors.background);
  decode_colour(in, 8, prefs.colors.grid);
  in.read_text(12, kSerialNameSize, prefs.serial_port_name);
  in.read(layout->serial_baud, prefs.serial_baud);
  in.read_text(layout->log_file_name, kTextSize, prefs.log_file_name);
  in.read_text(layout->password, kTextSize, prefs.protection.password);
  in.read_text(layout->custom_title, kTextSize, prefs.custom_title);
  in.read_flag(layout->use_custom_title, prefs.use_custom_title);
  in.read_flag(layout->auto_connect, prefs.auto_connect);
  int switch_offset = layout->switches;
  for (bool* field : switch_fields(prefs)) in.read_flag(switch_offset++, *field);
  in.read(layout->animation_delay, prefs.animation_delay);
  decode_dial_list(in, *layout, prefs);
  in.read_flag(layout->network_mode, prefs.network_mode);
  decode_sites(in, *layout, prefs);
  decode_recent(in, *layout, prefs);
  in.read_flag(layout->hover_descriptions, prefs.hover_descriptions);
  decode_pin_table(in, *layout, prefs);
  return true;
}

std::vector<std::uint8_t> encode_preferences(const Preferences& prefs) {
  std::vector<std::uint8_t> image(kPreferencesFileSize, 0);
  ImageWriter out(image);
  const Layout& at = kLayout27;
  out.write(0, kPreferencesVersion);
  out.write(1, prefs.auto_save_slot);
  out.write(2, prefs.screen_size);
  out.write(4, colour_of(prefs.colors.background));
  out.write(8, colour_of(prefs.colors.grid));
  out.write_text(12, kSerialNameSize, prefs.serial_port_name);
  out.write(at.serial_baud, prefs.serial_baud);
  out.write_text(at.log_file_name, kTextSize, prefs.log_file_name);
  out.write_text(at.password, kTextSize, prefs.protection.password);
  out.write_text(at.custom_title, kTextSize, prefs.custom_title);
  out.write_flag(at.use_custom_title, prefs.use_custom_title);
  out.write_flag(at.auto_connect, prefs.auto_connect);
  int switch_offset = at.switches;
  for (const bool* field : switch_fields(prefs)) out.write_flag(switch_offset++, *field);
  out.write(at.animation_delay, prefs.animation_delay);

  const int dials = std::min<int>(static_cast<int>(prefs.dial_list.size()), kMaxDialEntries);
  for (int i = 0; i < dials; ++i) {
    const DialEntry& entry = prefs.dial_list[static_cast<std::size_t>(i)];
    out.write_text(at.dial_numbers + i * kDialFieldSize, kDialFieldSize, entry.number);
    out.write_text(at.dial_descriptions + i * kDialFieldSize, kDialFieldSize, entry.description);
  }
  out.write(at.dial_count, static_cast<std::int8_t>(dials));
  out.write_flag(at.network_mode, prefs.network_mode);

  const int sites = std::min(prefs.site_count(), kMaxSites);
  out.write(at.site_count, static_cast<std::int32_t>(sites));
  out.write(at.selected_site, prefs.selected_site);
  for (int i = 0; i < sites; ++i) {
    const NetworkSite& site = prefs.sites[static_cast<std::size_t>(i)];
    out.write_text(at.site_descriptions + i * kSiteDescriptionSize, kSiteDescriptionSize,
                   site.description);
    out.write(at.site_addresses + i * 4, site.address);
    out.write(at.site_ports + i * 4, site.port);
  }

  const int recents = std::min<int>(static_cast<int>(prefs.recent.size()), kMaxRecent);
  for (int i = 0; i < recents; ++i) {
    const RecentConnection& entry = prefs.recent[static_cast<std::size_t>(i)];
    const int base = at.recent + i * kRecentSize;
    out.write_flag(base, entry.is_serial);
    out.write_text(base + 1, kRecentNameSize, entry.serial_name);
    out.write(base + 28, entry.baud);
    out.write(base + 32, entry.site_index);
  }
  out.write(at.recent_count, static_cast<std::int32_t>(recents));
  out.write_flag(at.hover_descriptions, prefs.hover_descriptions);

  out.write(at.pin_table, prefs.pin_table_image);
  return image;
}

}  // namespace mav
