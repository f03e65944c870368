#include "preferences/ProtectionReader.h"

#include "platform/AtomicFile.h"
#include "preferences/PreferencesCodec.h"
#include "preferences/PreferencesFile.h"

namespace mav {

std::optional<Protection> read_protection(const ProgramFolders& folders) {
  const auto image = read_whole_file(folders.program / kPreferencesFileName, kPreferencesFileSize);
  Preferences prefs;
  if (!image || !decode_preferences(*image, prefs)) return std::nullopt;
  return prefs.protection;
}

}  // namespace mav
