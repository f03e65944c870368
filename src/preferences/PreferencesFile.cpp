#include "preferences/PreferencesFile.h"

#include "platform/AtomicFile.h"
#include "preferences/PreferencesCodec.h"

namespace mav {

PreferencesOrigin load_preferences(const std::filesystem::path& file, Preferences& prefs) {
  // Nothing of a valid file lies beyond its current size; more is never read.
  const auto image = read_whole_file(file, kPreferencesFileSize);
  if (!image) {
    save_preferences_file(file, prefs);
    return PreferencesOrigin::Created;
  }
  const Preferences defaults = prefs;
  if (!decode_preferences(*image, prefs)) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    prefs = defaults;
    save_preferences_file(file, prefs);
    return PreferencesOrigin::Replaced;
  }
  if ((*image)[0] == kPreferencesVersion) return PreferencesOrigin::Current;
  save_preferences_file(file, prefs);
  return PreferencesOrigin::Converted;
}

bool save_preferences_file(const std::filesystem::path& file, const Preferences& prefs) {
  // The file holds the operator's password: readable by the operator's account only.
  return write_file_atomically(file, encode_preferences(prefs), 0600);
}

}  // namespace mav
