#include "platform/ProgramLocation.h"

#include <cstdlib>
#include <system_error>

namespace mav {
namespace {

// The folders the program keeps its files in, empty on a first start.
constexpr const char* kProgramSubfolders[] = {"Configurations", "Templates", "Icons", "Logs"};

// The installer puts the manual beside the program; nothing else writes it.
bool laid_out_by_installer(const std::filesystem::path& folder) {
  std::error_code error;
  return std::filesystem::is_regular_file(folder / "MAV C_Help.html", error);
}

// $XDG_DATA_HOME/mav-controller, or ~/.local/share/mav-controller when the variable is unset or
// not an absolute path, as the desktop's base directory rules say.
std::filesystem::path user_data_folder() {
  const char* data_home = std::getenv("XDG_DATA_HOME");
  if (data_home && data_home[0] == '/') return std::filesystem::path(data_home) / "mav-controller";
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home ? home : "") / ".local" / "share" / "mav-controller";
}

}  // namespace

std::filesystem::path installed_share_folder() {
  std::error_code error;
  const std::filesystem::path bin =
      std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
  return (bin.parent_path() / "share" / "mav-controller").lexically_normal();
}

std::variant<ProgramFolders, std::string> locate_program_folders(
    const std::optional<std::filesystem::path>& given, const std::filesystem::path& current) {
  std::filesystem::path program;
  if (given) {
    program = std::filesystem::absolute(*given);
  } else if (std::error_code error;
             std::filesystem::exists(current / "MAV_Controller.cfg", error) ||
             laid_out_by_installer(current)) {
    program = current;
  } else {
    program = user_data_folder();
  }
  for (const char* subfolder : kProgramSubfolders) {
    std::error_code error;
    std::filesystem::create_directories(program / subfolder, error);
    if (error)
      return "cannot use " + program.string() + " as the program directory: " + error.message();
  }
  return ProgramFolders{program,
                        laid_out_by_installer(program) ? program : installed_share_folder()};
}

}  // namespace mav
