#include "link/LineAssembler.h"

#include <cstring>

namespace mav {

bool LineAssembler::add_byte(char byte) {
  if (byte == '\r') {
    const std::string_view line(line_buffer_, line_length_);
    ring_.push(line);
    trace_.received(line);
    line_length_ = 0;
    return true;
  }
  line_buffer_[line_length_] = byte;
  line_length_ = (line_length_ + 1) % kLineSize;
  return false;
}

int LineAssembler::add_bytes(std::string_view chunk) {
  int completed = 0;
  while (!chunk.empty()) {
    const void* found = std::memchr(chunk.data(), '\r', chunk.size());
    const std::size_t text_length =
        found ? static_cast<std::size_t>(static_cast<const char*>(found) - chunk.data())
              : chunk.size();
    for (char byte : chunk.substr(0, text_length)) add_byte(byte);
    if (!found) break;
    add_byte('\r');
    ++completed;
    chunk.remove_prefix(text_length + 1);
  }
  return completed;
}

}  // namespace mav
