// The gateway's PIN users as the program knows them: 20 entries of name, four-digit PIN and
// security level. The gateway's PIN replies keep the table in step (worker thread) while the PIN
// dialog and the preferences file read and rewrite it (UI thread), so every member takes the
// table's own lock and any thread may call any member.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace mav {

inline constexpr int kPinTableEntries = 20;
inline constexpr std::uint8_t kPinLevelUnused = 10;  // marks a free entry
inline constexpr int kPinNameSize = 32;              // 31 characters and the NUL
inline constexpr std::size_t kPinTableBytes = 720;   // the block in the preferences file

// One entry in its file layout: 36 bytes, name at 0, PIN at 32 (little-endian), level at 34.
struct PinUser {
  char name[kPinNameSize] = {};
  std::uint16_t pin = 0;
  std::uint8_t level = kPinLevelUnused;
  std::uint8_t padding = 0;
};
static_assert(sizeof(PinUser) == 36);
static_assert(offsetof(PinUser, pin) == 32);
static_assert(offsetof(PinUser, level) == 34);
static_assert(sizeof(PinUser) * kPinTableEntries == kPinTableBytes);

class PinTable {
 public:
  // Every entry free, with an empty name and PIN 0.
  void Reset();

  // The name of the first entry holding pin, free entries included; nothing when none does.
  std::optional<std::string> find_pin_name(std::uint16_t pin) const;

  // A PIN the gateway reports: the first entry with this PIN takes the level and keeps its name;
  // otherwise the first free entry takes PIN and level with an empty name. False when the PIN
  // was new and no entry was free.
  bool store_reported_pin(std::uint16_t pin, std::uint8_t level);

  // The gateway deleted a PIN: the first entry holding it becomes free (name and PIN stay).
  void free_pin(std::uint16_t pin);
  // The gateway deleted every PIN: all entries become free (names and PINs stay).
  void free_all();

  // Whole-entry access for the PIN dialog; index outside 0..19 gives a free entry / is ignored.
  // A name longer than 31 characters is cut.
  PinUser entry(int index) const;
  void set_entry(int index, std::string_view name, std::uint16_t pin, std::uint8_t level);

  // The 720-byte image stored with the preferences, and its reverse. Names read back are always
  // terminated within their 32 bytes.
  std::array<std::uint8_t, kPinTableBytes> to_bytes() const;
  void from_bytes(const std::array<std::uint8_t, kPinTableBytes>& bytes);

 private:
  mutable std::mutex mutex_;
  std::array<PinUser, kPinTableEntries> entries_{};
};

}  // namespace mav
