#include "Faults.h"

#include "ReplyFormat.h"
#include "vocabulary/Vocabulary.h"

namespace mav::sim {

std::string garbage_bytes(int count, std::uint32_t seed) {
  std::string bytes;
  std::uint32_t state = seed != 0 ? seed : 0x9E3779B9u;
  for (int i = 0; i < count; ++i) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    bytes += static_cast<char>(state & 0xFFu);
  }
  return bytes;
}

std::string long_line(int length) {
  if (length < 1) return "\r";
  std::string line = "%";
  for (int i = 1; i < length; ++i) line += static_cast<char>('A' + i % 26);
  return line + "\r";
}

std::string flood_lines(int count) {
  std::string bytes;
  for (int i = 0; i < count; ++i) {
    const std::uint32_t mask = i + 1 == count ? 0u : (1u << (i % 26));
    bytes += reply_line(kw::COR_LED, {mask_text(mask)}, 0) + "\r";
  }
  return bytes;
}

}  // namespace mav::sim
