#include "modules/TemplateFile.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace mav {
namespace {

constexpr std::size_t kSettingsOffset = offsetof(PortRecord, settings);

// The settings bytes of an old file that are not where the current layout has them: record offset
// now, record offset then (kNotTaken: zero). The rest of the block, calling_time and squelch_type
// among it, did not move.
constexpr int kNotTaken = -1;
constexpr std::array<std::pair<int, int>, 14> kMovedSettings = {{
    {70, 81},         // radio_type
    {71, 70},         // ringback_enable
    {72, 71},         // rx_level
    {73, 72},         // rx_squelch
    {74, kNotTaken},  // security_level: a template never brings one
    {75, kNotTaken},  // reserved
    {80, 80},         // dial_mode
    {81, kNotTaken},  // reserved
    {82, 81},         // trunk_type: the same old byte as radio_type
    {83, 82},         // tx_level
    {84, 83},         // user_control
    {85, 84},         // ring_cadence
    {86, 85},         // vmr_thresh
    {87, 86},         // vmr_hang
}};

PortRecord from_current(std::span<const std::uint8_t> image) {
  std::array<std::uint8_t, sizeof(PortRecord)> full{};
  std::copy_n(image.begin(), std::min(image.size(), full.size()), full.begin());
  PortRecord whole;
  std::memcpy(&whole, full.data(), full.size());
  PortRecord taken{};
  taken.mod_type = whole.mod_type;
  taken.settings = whole.settings;
  return taken;
}

PortRecord from_legacy(std::span<const std::uint8_t> image) {
  std::array<std::uint8_t, sizeof(PortRecord)> old{};
  std::copy_n(image.begin(), std::min(image.size(), old.size()), old.begin());
  std::array<std::uint8_t, sizeof(PortRecord)> now{};
  std::copy_n(old.begin(), 4, now.begin());
  std::copy_n(old.begin() + kSettingsOffset, sizeof(ModuleSettings), now.begin() + kSettingsOffset);
  for (const auto& [to, from] : kMovedSettings) {
    now[static_cast<std::size_t>(to)] = from == kNotTaken ? 0 : old[static_cast<std::size_t>(from)];
  }
  now[67] = now[67] != 0 ? 1 : 0;  // line_type
  return from_current(now);
}

}  // namespace

std::vector<std::uint8_t> EncodeTemplate(const PortRecord& record) {
  std::vector<std::uint8_t> bytes(kTemplateFileSize);
  const std::uint32_t magic = kTemplateMagic;
  for (int i = 0; i < 4; ++i) bytes[static_cast<std::size_t>(i)] = (magic >> (8 * i)) & 0xFF;
  std::memcpy(bytes.data() + 4, &record, sizeof record);
  return bytes;
}

PortRecord DecodeTemplate(std::span<const std::uint8_t> bytes) {
  std::int32_t first = 0;
  if (bytes.size() >= 4) {
    first = static_cast<std::int32_t>(bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
                                      (static_cast<std::uint32_t>(bytes[3]) << 24));
  }
  return first == kTemplateMagic ? from_current(bytes.subspan(4)) : from_legacy(bytes);
}

}  // namespace mav
