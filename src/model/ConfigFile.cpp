#include "model/ConfigFile.h"

#include <cstring>

#include "platform/AtomicFile.h"

namespace mav {
namespace {

constexpr std::size_t kRecordSize = sizeof(PortRecord);
constexpr std::size_t kSettingsOffset = offsetof(PortRecord, settings);

// Where each format-6 settings byte (record offsets 70 to 87) lies in format 7.
struct ByteMove {
  std::size_t from;
  std::size_t to;
};
constexpr ByteMove kOldSettingsMoves[] = {{70, 71}, {71, 72}, {72, 73}, {73, 74}, {76, 76},
                                          {77, 77}, {78, 78}, {79, 79}, {80, 80}, {81, 70},
                                          {82, 83}, {83, 84}, {84, 85}, {85, 86}, {86, 87}};
constexpr std::size_t kMovedFirst = 70;
constexpr std::size_t kMovedEnd = 88;
constexpr std::size_t kLineTypeOffset = kSettingsOffset + offsetof(ModuleSettings, line_type);
static_assert(kLineTypeOffset == 67);
static_assert(kSettingsOffset + offsetof(ModuleSettings, radio_type) == kMovedFirst);
static_assert(kSettingsOffset + sizeof(ModuleSettings) == kMovedEnd);

void put_u32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> 8 * i);
}

std::uint32_t get_u32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 4; i-- > 0;) value = value << 8 | bytes[offset + i];
  return value;
}

// A format-6 record in the format-7 layout: bytes outside the settings tail unchanged, the tail
// moved, no trunk type, and any line type other than 0 made 1.
PortRecord convert_old_record(std::span<const std::uint8_t, kRecordSize> old) {
  std::uint8_t image[kRecordSize];
  std::memcpy(image, old.data(), kRecordSize);
  std::memset(image + kMovedFirst, 0, kMovedEnd - kMovedFirst);
  for (const ByteMove& move : kOldSettingsMoves) image[move.to] = old[move.from];
  if (image[kLineTypeOffset] != 0) image[kLineTypeOffset] = 1;
  PortRecord record;
  std::memcpy(&record, image, kRecordSize);
  return record;
}

}  // namespace

std::vector<std::uint8_t> EncodeConfiguration(const Configuration& config) {
  std::vector<std::uint8_t> bytes(kConfigFileSize);
  put_u32(bytes, 0, kConfigFormatVersion);
  put_u32(bytes, kConfigSquelchOffset, static_cast<std::uint32_t>(config.mek_squelch_type));
  std::memcpy(bytes.data() + kConfigRecordsOffset, config.ports.data(), kPortCount * kRecordSize);
  std::memcpy(bytes.data() + kConfigPinTableOffset, config.pin_table.data(), kConfigPinTableBytes);
  bytes[kConfigSecurityModeOffset] = config.security_mode;
  return bytes;
}

std::optional<Configuration> DecodeConfiguration(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 4) return std::nullopt;
  Configuration config;
  const std::uint32_t version = get_u32(bytes, 0);
  if (version == kConfigFormatVersion && bytes.size() >= kConfigFileSize) {
    config.mek_squelch_type = static_cast<std::int32_t>(get_u32(bytes, kConfigSquelchOffset));
    std::memcpy(config.ports.data(), bytes.data() + kConfigRecordsOffset, kPortCount * kRecordSize);
  } else if (version == kConfigOldFormatVersion && bytes.size() >= kConfigOldFileSize) {
    for (std::size_t p = 0; p < kPortCount; ++p) {
      config.ports[p] = convert_old_record(
          bytes.subspan(kConfigOldRecordsOffset + p * kRecordSize).first<kRecordSize>());
    }
  } else {
    return std::nullopt;
  }
  // Both formats end with the PIN table and the security mode byte.
  const std::size_t pins =
      version == kConfigFormatVersion ? kConfigPinTableOffset : kConfigOldPinTableOffset;
  std::memcpy(config.pin_table.data(), bytes.data() + pins, kConfigPinTableBytes);
  config.security_mode = bytes[pins + kConfigPinTableBytes];
  return config;
}

bool WriteConfiguration(const std::filesystem::path& file, const Configuration& config) {
  // The file carries the PIN table: its owner alone may read it.
  return write_file_atomically(file, EncodeConfiguration(config), 0600);
}

ConfigFileStatus ReadConfiguration(const std::filesystem::path& file, Configuration& out) {
  const std::optional<std::vector<std::uint8_t>> bytes = read_whole_file(file, kConfigFileSize);
  if (!bytes) return ConfigFileStatus::CannotOpen;
  std::optional<Configuration> config = DecodeConfiguration(*bytes);
  if (!config) return ConfigFileStatus::Incompatible;
  out = *config;
  return ConfigFileStatus::Read;
}

}  // namespace mav
