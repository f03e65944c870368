// The password and its switches as the controller last saved them, for a process that shares the
// controller's program directory but never changes its files. A typed password is checked with
// password_matches(typed, protection.password), a guarded action with asks_for. Any thread.
#pragma once

#include <optional>

#include "platform/ProgramFolders.h"
#include "security/PasswordRules.h"

namespace mav {

// Nothing when the program directory holds no preferences file in a layout that can be read:
// the controller would then start with no password.
std::optional<Protection> read_protection(const ProgramFolders& folders);

}  // namespace mav
