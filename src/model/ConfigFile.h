// Configuration files: a whole-gateway snapshot (the 26 port records, the handset squelch choice,
// the PIN table and the security mode) in its fixed little-endian layout. This program writes
// format 7 and also reads format 6, whose settings bytes are moved to their format-7 places.
// Writes go to a temporary file renamed over the old one, so a crash mid-save never leaves a
// truncated file. Any thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "model/PortRecord.h"

namespace mav {

inline constexpr std::uint32_t kConfigFormatVersion = 7;
inline constexpr std::uint32_t kConfigOldFormatVersion = 6;
inline constexpr std::size_t kConfigPinTableBytes = 720;  // 20 entries of 36 bytes

// Format 7: version, squelch word, records, PIN table, security mode byte.
inline constexpr std::size_t kConfigSquelchOffset = 4;
inline constexpr std::size_t kConfigRecordsOffset = 8;
inline constexpr std::size_t kConfigPinTableOffset = 16232;
inline constexpr std::size_t kConfigSecurityModeOffset = 16952;
inline constexpr std::size_t kConfigFileSize = 16953;
// Format 6 has no squelch word.
inline constexpr std::size_t kConfigOldRecordsOffset = 4;
inline constexpr std::size_t kConfigOldPinTableOffset = 16228;
inline constexpr std::size_t kConfigOldFileSize = 16949;

static_assert(kConfigRecordsOffset + kPortCount * sizeof(PortRecord) == kConfigPinTableOffset);
static_assert(kConfigPinTableOffset + kConfigPinTableBytes == kConfigSecurityModeOffset);
static_assert(kConfigSecurityModeOffset + 1 == kConfigFileSize);
static_assert(kConfigOldRecordsOffset + kPortCount * sizeof(PortRecord) ==
              kConfigOldPinTableOffset);
static_assert(kConfigOldPinTableOffset + kConfigPinTableBytes + 1 == kConfigOldFileSize);

struct Configuration {
  std::int32_t mek_squelch_type = -1;  // value-word index, -1 when unknown
  std::array<PortRecord, kPortCount> ports{};
  std::array<std::uint8_t, kConfigPinTableBytes> pin_table{};
  std::uint8_t security_mode = 0;  // value-word index of the last SECURITY_MODE report
};

// The format-7 image, kConfigFileSize bytes.
std::vector<std::uint8_t> EncodeConfiguration(const Configuration& config);
// A format-7 or format-6 image; nothing for any other version or an image too short for its
// version. Bytes beyond the image are ignored.
std::optional<Configuration> DecodeConfiguration(std::span<const std::uint8_t> bytes);

// Written for its owner alone (mode 0600), through a symbolic link to its target. False when the
// file cannot be written or is read-only; the old file is then untouched.
bool WriteConfiguration(const std::filesystem::path& file, const Configuration& config);

enum class ConfigFileStatus { Read, CannotOpen, Incompatible };
ConfigFileStatus ReadConfiguration(const std::filesystem::path& file, Configuration& out);

}  // namespace mav
