#include "security/PasswordRules.h"

#include "model/TextField.h"

namespace mav {

bool Protection::asks_for(Guard guard) const {
  if (password.empty()) return false;
  switch (guard) {
    case Guard::PinSettings:
      return pin_settings;
    case Guard::PermanentConnections:
      return permanent_connections;
    case Guard::ModuleSettings:
      return module_settings;
  }
  return false;
}

std::string_view kept_password(std::string_view typed) {
  return FitText(typed, kPasswordMaxLength);
}

bool password_matches(std::string_view entered, std::string_view password) {
  const std::string_view typed = kept_password(entered);
  // Every typed byte is compared, with no early exit; past the stored password's end the typed
  // bytes are compared with its bytes again, and the length difference decides at the end.
  volatile unsigned difference = typed.size() == password.size() ? 0u : 1u;
  const std::size_t stored_length = password.empty() ? 1 : password.size();
  for (std::size_t i = 0; i < typed.size(); ++i) {
    const unsigned char stored =
        password.empty() ? 0 : static_cast<unsigned char>(password[i % stored_length]);
    difference = difference | (static_cast<unsigned char>(typed[i]) ^ stored);
  }
  return difference == 0;
}

NewPasswordVerdict judge_new_password(std::string_view entry, std::string_view confirmation) {
  if (CountCharacters(entry) < kPasswordMinLength) return NewPasswordVerdict::TooShort;
  return entry == confirmation ? NewPasswordVerdict::Accepted : NewPasswordVerdict::Mismatch;
}

const char* verdict_message(NewPasswordVerdict verdict) {
  switch (verdict) {
    case NewPasswordVerdict::Accepted:
      return "Password changed";
    case NewPasswordVerdict::Mismatch:
      return "Confirmation doesn't match password entry";
    case NewPasswordVerdict::TooShort:
      return "The password must be at least 4 characters";
  }
  return "";
}

}  // namespace mav
