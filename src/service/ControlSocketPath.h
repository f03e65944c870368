// Where the service listens and its clients look by default: the user's runtime folder, which
// only that user can enter.
#pragma once

#include <filesystem>

namespace mav {

// $XDG_RUNTIME_DIR/mav-controller/control.sock (/run/user/UID/... when the variable is unset).
std::filesystem::path default_control_socket();

}  // namespace mav
