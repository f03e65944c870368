// The program's own password: which actions it guards, how a typed password is compared, and
// which new passwords are accepted. Any thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mav {

inline constexpr std::size_t kPasswordMaxLength = 259;  // bytes the password field keeps
inline constexpr std::size_t kPasswordMinLength = 4;    // characters

// The three groups of actions a password can guard.
enum class Guard { PinSettings, PermanentConnections, ModuleSettings };

// The password and the switch of each guard, as the preferences keep them. An empty password
// guards nothing.
struct Protection {
  std::string password;
  bool pin_settings = false;
  bool permanent_connections = false;
  bool module_settings = false;

  // Whether the guarded action must ask first: its switch is on and a password is set.
  bool asks_for(Guard guard) const;
};

// Where the protection and the PIN table are kept: the preferences. UI thread.
class ProtectionStore {
 public:
  virtual ~ProtectionStore() = default;
  virtual Protection protection() const = 0;
  // Takes effect at once and rewrites the preferences file.
  virtual void store_protection(const Protection& protection) = 0;
  // Rewrites the preferences file, PIN table included.
  virtual void save_preferences() = 0;
};

// The question in front of a guarded action, as the subsystems owning such actions see it. The
// security dialogs implement it. UI thread only; modal.
class PasswordCheck {
 public:
  virtual ~PasswordCheck() = default;
  // True when the action may go ahead: its switch is off, no password is set, or the operator
  // typed the password. A refusal has been told to the operator already.
  virtual bool confirm_password(Guard guard) = 0;
};

// A typed password as the preferences keep it: cut to its field at a character boundary.
std::string_view kept_password(std::string_view typed);

// The typed text as kept, byte for byte, case-sensitive. Takes the same time whatever part of the
// typed text matches, and the stored password's length shows neither in the time taken nor in the
// result's path.
bool password_matches(std::string_view typed, std::string_view password);

// What "Apply" makes of a new password and its confirmation.
enum class NewPasswordVerdict { Accepted, Mismatch, TooShort };
NewPasswordVerdict judge_new_password(std::string_view entry, std::string_view confirmation);
// The operator's message for a verdict.
const char* verdict_message(NewPasswordVerdict verdict);

}  // namespace mav
