// Reading the operator's typing in the network site dialog. Pure; any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace mav {

// One number of a dotted IPv4 address: decimal 0 to 255; nothing for an empty, non-numeric or
// out-of-range field.
std::optional<std::uint8_t> parse_address_number(std::string_view text);
// A TCP port: decimal 1 to 65535.
std::optional<std::uint16_t> parse_tcp_port(std::string_view text);

}  // namespace mav
