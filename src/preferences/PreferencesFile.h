// The preferences file "MAV_Controller.cfg" in the program directory: read at start-up (older
// layouts converted, unknown ones replaced by the defaults) and rewritten whole after every
// change of a persisted setting. Any thread; the caller serialises access to the Preferences.
#pragma once

#include <filesystem>

#include "preferences/Preferences.h"

namespace mav {

inline constexpr const char* kPreferencesFileName = "MAV_Controller.cfg";

enum class PreferencesOrigin {
  Created,    // there was no file: the defaults were written
  Current,    // read in the current layout
  Converted,  // read from an older layout and rewritten in the current one
  Replaced,   // unknown layout: deleted and replaced by the defaults (the operator is told)
};

// `prefs` holds the defaults on entry and the settings on return.
PreferencesOrigin load_preferences(const std::filesystem::path& file, Preferences& prefs);

// The whole file in the current layout; false (and the old file untouched) when it cannot be
// written.
bool save_preferences_file(const std::filesystem::path& file, const Preferences& prefs);

}  // namespace mav
