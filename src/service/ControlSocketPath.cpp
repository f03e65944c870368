#include "service/ControlSocketPath.h"

#include <unistd.h>

#include <cstdlib>
#include <string>

namespace mav {

std::filesystem::path default_control_socket() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const std::filesystem::path folder =
      runtime != nullptr && runtime[0] != '\0'
          ? std::filesystem::path(runtime)
          : std::filesystem::path("/run/user/" + std::to_string(::getuid()));
  return folder / "mav-controller" / "control.sock";
}

}  // namespace mav
