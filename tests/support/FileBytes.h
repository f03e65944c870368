// Reading and writing test files as raw bytes, and placing literal values at literal offsets.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace mav::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes read_bytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline void write_bytes(const std::filesystem::path& file, const Bytes& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

inline void put_text(Bytes& bytes, std::size_t offset, const std::string& text) {
  std::memcpy(bytes.data() + offset, text.data(), text.size());
}

inline void put_i32(Bytes& bytes, std::size_t offset, std::int32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline std::int32_t get_i32(const Bytes& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | bytes[offset + i];
  return static_cast<std::int32_t>(value);
}

inline std::string get_text(const Bytes& bytes, std::size_t offset) {
  return std::string(reinterpret_cast<const char*>(bytes.data() + offset));
}

}  // namespace mav::test
