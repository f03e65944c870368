#include "security/PinSettings.h"
#include "model/TextField.h"

#include <cstdio>
#include <cstring>

namespace mav {
namespace {

// The edits hand over at most 15 characters; only digits read as a number.
constexpr std::size_t kFieldCharacters = 15;

std::optional<long long> read_number(std::string_view text) {
  text = text.substr(0, kFieldCharacters);
  if (text.empty()) return std::nullopt;
  long long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

const char* mode_line(int mode) {
  switch (mode) {
    case kSecurityModeOff:
      return "SECURITY_MODE OFF\r";
    case kSecurityModeExclusive:
      return "SECURITY_MODE EXCLUSIVE\r";
    case kSecurityModePriority:
      return "SECURITY_MODE PRIORITY\r";
    default:
      return nullptr;
  }
}

}  // namespace

PinRowText pin_row_text(const PinUser& user) {
  if (user.level == kPinLevelUnused) return {};
  char pin[16];
  std::snprintf(pin, sizeof pin, "%.4d", user.pin);
  return {std::string(user.name, strnlen(user.name, sizeof user.name)), pin,
          std::to_string(user.level)};
}

bool pin_row_kept(const PinRowText& row) {
  const std::optional<long long> pin = read_number(row.pin);
  const std::optional<long long> level = read_number(row.level);
  return pin && level && *pin <= 9999 && *level <= 9;
}

PinSettingsOrder pin_settings_order(int checked_mode, std::span<const PinRowText> rows) {
  PinSettingsOrder order;
  if (const char* line = mode_line(checked_mode)) {
    order.mode = checked_mode;
    order.lines.emplace_back(line);
  }
  order.lines.emplace_back("DEL_PIN ALL\r");
  for (const PinRowText& row : rows) {
    if (!pin_row_kept(row)) continue;
    PinUser user;
    StoreText(user.name, row.name);
    user.pin = static_cast<std::uint16_t>(*read_number(row.pin));
    user.level = static_cast<std::uint8_t>(*read_number(row.level));
    char line[32];
    std::snprintf(line, sizeof line, "PIN %.4d %d\r", user.pin, user.level);
    order.lines.emplace_back(line);
    order.entries.push_back(user);
  }
  return order;
}

}  // namespace mav
