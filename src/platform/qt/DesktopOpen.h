// Handing a file to the desktop's own viewer. UI thread.
#pragma once

#include <filesystem>

namespace mav {

// False when the desktop has no launcher for files or it refused the file; the caller then shows
// the file its own way.
bool open_with_desktop_viewer(const std::filesystem::path& file);

}  // namespace mav
