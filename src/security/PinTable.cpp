#include "security/PinTable.h"
#include "model/TextField.h"

#include <cstring>

namespace mav {
namespace {

void copy_name(PinUser& user, std::string_view name) {
  StoreText(user.name, name);
}

}  // namespace

void PinTable::Reset() {
  std::lock_guard lock(mutex_);
  entries_.fill(PinUser{});
}

std::optional<std::string> PinTable::find_pin_name(std::uint16_t pin) const {
  std::lock_guard lock(mutex_);
  for (const PinUser& user : entries_) {
    if (user.pin == pin) return std::string(user.name, strnlen(user.name, sizeof user.name));
  }
  return std::nullopt;
}

bool PinTable::store_reported_pin(std::uint16_t pin, std::uint8_t level) {
  std::lock_guard lock(mutex_);
  for (PinUser& user : entries_) {
    if (user.pin == pin) {
      user.level = level;
      return true;
    }
  }
  for (PinUser& user : entries_) {
    if (user.level == kPinLevelUnused) {
      copy_name(user, {});
      user.pin = pin;
      user.level = level;
      return true;
    }
  }
  return false;
}

void PinTable::free_pin(std::uint16_t pin) {
  std::lock_guard lock(mutex_);
  for (PinUser& user : entries_) {
    if (user.pin == pin) {
      user.level = kPinLevelUnused;
      return;
    }
  }
}

void PinTable::free_all() {
  std::lock_guard lock(mutex_);
  for (PinUser& user : entries_) user.level = kPinLevelUnused;
}

PinUser PinTable::entry(int index) const {
  if (index < 0 || index >= kPinTableEntries) return PinUser{};
  std::lock_guard lock(mutex_);
  return entries_[static_cast<std::size_t>(index)];
}

void PinTable::set_entry(int index, std::string_view name, std::uint16_t pin, std::uint8_t level) {
  if (index < 0 || index >= kPinTableEntries) return;
  std::lock_guard lock(mutex_);
  PinUser& user = entries_[static_cast<std::size_t>(index)];
  copy_name(user, name);
  user.pin = pin;
  user.level = level;
}

std::array<std::uint8_t, kPinTableBytes> PinTable::to_bytes() const {
  std::array<std::uint8_t, kPinTableBytes> bytes{};
  std::lock_guard lock(mutex_);
  std::size_t at = 0;
  for (const PinUser& user : entries_) {
    std::memcpy(&bytes[at], user.name, sizeof user.name);
    bytes[at + 32] = static_cast<std::uint8_t>(user.pin & 0xFF);
    bytes[at + 33] = static_cast<std::uint8_t>(user.pin >> 8);
    bytes[at + 34] = user.level;
    bytes[at + 35] = user.padding;
    at += sizeof(PinUser);
  }
  return bytes;
}

void PinTable::from_bytes(const std::array<std::uint8_t, kPinTableBytes>& bytes) {
  std::lock_guard lock(mutex_);
  std::size_t at = 0;
  for (PinUser& user : entries_) {
    std::memcpy(user.name, &bytes[at], sizeof user.name);
    user.name[sizeof user.name - 1] = '\0';
    user.pin = static_cast<std::uint16_t>(bytes[at + 32] | (bytes[at + 33] << 8));
    user.level = bytes[at + 34];
    user.padding = bytes[at + 35];
    at += sizeof(PinUser);
  }
}

}  // namespace mav
