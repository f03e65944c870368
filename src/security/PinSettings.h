// What the PIN security settings show and what their OK sends: the text of each PIN user's row,
// and, from the rows and the checked security mode, the command lines for the gateway and the
// PIN table entries that follow. Any thread.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "security/PinTable.h"

namespace mav {

// The security modes by their value-word index.
inline constexpr int kSecurityModeOff = 11;
inline constexpr int kSecurityModeExclusive = 12;
inline constexpr int kSecurityModePriority = 13;

// One row of the PIN users as the operator edits it.
struct PinRowText {
  std::string name;
  std::string pin;
  std::string level;
  bool operator==(const PinRowText&) const = default;
};

// A free entry shows an empty row; a used one its name, the PIN in four digits and the level.
PinRowText pin_row_text(const PinUser& user);

struct PinSettingsOrder {
  std::optional<int> mode;         // the checked mode, when one is
  std::vector<std::string> lines;  // in the order they are sent
  std::vector<PinUser> entries;    // the new first entries of the PIN table, valid rows in order
};

// The widest PIN and level the gateway takes, in digits.
inline constexpr int kPinDigits = 4;
inline constexpr int kLevelDigits = 1;

// Whether OK sends the row: its PIN reads as 0 to 9999 and its level as 0 to 9.
bool pin_row_kept(const PinRowText& row);

// `checked_mode` is one of the three modes or anything else for none. A row is sent only when
// its PIN reads as 0 to 9999 and its level as 0 to 9; the others are dropped without a word.
PinSettingsOrder pin_settings_order(int checked_mode, std::span<const PinRowText> rows);

}  // namespace mav
