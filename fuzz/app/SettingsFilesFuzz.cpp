// Arbitrary bytes as the preferences file and as the site list: whatever the disk holds, reading
// must neither crash nor read past the image, and a site list is either converted or left whole.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

#include "app/SitesFile.h"
#include "preferences/PreferencesCodec.h"

namespace {

std::filesystem::path scratch_file() {
  static const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("fuzz-sites-" + std::to_string(getpid()) + ".cfg");
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  mav::Preferences prefs;
  mav::decode_preferences(std::span<const std::uint8_t>(data, size), prefs);

  const std::filesystem::path file = scratch_file();
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  mav::convert_old_sites_file(file);
  const std::uint8_t address[4] = {127, 0, 0, 1};
  (void)mav::find_site_record(file, address, 23);
  std::filesystem::remove(file);
  return 0;
}
