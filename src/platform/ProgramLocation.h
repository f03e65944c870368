// Which folder is the program directory of this run, and where the installed read-only files
// are; the controller and the gateway service follow the same rule. Any thread.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <variant>

#include "platform/ProgramFolders.h"

namespace mav {

// The share folder of an installed package, beside the executable's bin folder.
std::filesystem::path installed_share_folder();

// The program directory: `given` when there is one; else `current` when it already holds
// "MAV_Controller.cfg" or was laid out by the installer; else the user's data folder of the
// program. A folder laid out by the installer also serves the read-only files, any other takes
// them from the installed share folder. The chosen folder and its subfolders are created when
// missing; when that fails, the one-line reason.
std::variant<ProgramFolders, std::string> locate_program_folders(
    const std::optional<std::filesystem::path>& given, const std::filesystem::path& current);

}  // namespace mav
