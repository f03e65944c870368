// The byte image of the preferences file: the current layout (version 27, 32368 bytes: a
// 31648-byte record followed by the 720-byte PIN table) and the older layouts 23, 21, 18 and 17,
// which are read and moved into the current fields. Pure functions; any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "preferences/Preferences.h"

namespace mav {

inline constexpr std::size_t kPreferencesRecordSize = 31648;
inline constexpr std::size_t kPinTableSize = 720;
inline constexpr std::size_t kPreferencesFileSize = kPreferencesRecordSize + kPinTableSize;

// The whole file in the current layout.
std::vector<std::uint8_t> encode_preferences(const Preferences& prefs);

// True for the versions that can be read: 27 and the older 23, 21, 18 and 17.
bool is_readable_preferences_version(std::uint8_t version);

// Reads a file image whose first byte is a readable version into `prefs`, which holds the
// defaults on entry. A field the image does not fully contain keeps its default, so a short file
// is read as far as it goes. Counts are held to their limits and texts to their fields. From an
// older layout `auto_save_slot` keeps its default. False, leaving `prefs` alone, when the version
// is not readable.
bool decode_preferences(std::span<const std::uint8_t> image, Preferences& prefs);

}  // namespace mav
