// Where the program keeps the files it writes (preferences, site list, configurations, templates,
// icons, logs) and where it finds the files it only reads (sounds, manual, module guide). A
// program directory laid out by the installer is both.
#pragma once

#include <filesystem>

namespace mav {

struct ProgramFolders {
  std::filesystem::path program;
  std::filesystem::path shared;
};

}  // namespace mav
