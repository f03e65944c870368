#include "app/AddressFields.h"

#include <charconv>

namespace mav {
namespace {

std::optional<long> parse_in_range(std::string_view text, long low, long high) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value < low || value > high) return std::nullopt;
  return value;
}

}  // namespace

std::optional<std::uint8_t> parse_address_number(std::string_view text) {
  const auto value = parse_in_range(text, 0, 255);
  if (!value) return std::nullopt;
  return static_cast<std::uint8_t>(*value);
}

std::optional<std::uint16_t> parse_tcp_port(std::string_view text) {
  const auto value = parse_in_range(text, 1, 65535);
  if (!value) return std::nullopt;
  return static_cast<std::uint16_t>(*value);
}

}  // namespace mav
