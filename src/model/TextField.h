// Text in the program's fixed-size fields: UTF-8 that must fit a byte size. A cut never splits a
// character, so a stored text reads back as what the operator typed up to its last whole
// character, and can be shown, found and removed again. Any thread.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace mav {

inline bool IsContinuationByte(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The longest start of text of at most max_bytes bytes that does not end inside a character. A
// byte run that is no UTF-8 is cut at max_bytes.
inline std::string_view FitText(std::string_view text, std::size_t max_bytes) {
  if (text.size() <= max_bytes) return text;
  constexpr std::size_t kLongestTail = 3;  // continuation bytes of one character
  std::size_t end = max_bytes;
  while (end > 0 && max_bytes - end < kLongestTail && IsContinuationByte(text[end])) --end;
  if (IsContinuationByte(text[end])) end = max_bytes;
  return text.substr(0, end);
}

// Fills a NUL-terminated field with text, cut to fit, the rest zero.
template <std::size_t N>
void StoreText(char (&field)[N], std::string_view text) {
  const std::string_view kept = FitText(text, N - 1);
  std::memset(field, 0, N);
  if (!kept.empty()) std::memcpy(field, kept.data(), kept.size());  // an empty view may hold null
}

// Ends a field read from a file with a NUL, cutting an over-long text at a character boundary.
template <std::size_t N>
void TerminateText(char (&field)[N]) {
  field[FitText(std::string_view(field, strnlen(field, N)), N - 1).size()] = '\0';
}

// The number of characters in UTF-8 text, as the operator counts them.
inline std::size_t CountCharacters(std::string_view text) {
  std::size_t count = 0;
  for (const char byte : text) count += IsContinuationByte(byte) ? 0 : 1;
  return count;
}

}  // namespace mav
