// How a command line names the gateway: "HOST[:PORT]" for a network site (port 23 when left
// out; a dotted IPv4 address or a name the resolver turns into one) and "DEVICE[,BAUD]" for a
// serial port (9600 or 115200 baud, 9600 when left out). The controller and the gateway service
// read them alike; a value that cannot be used gives the one-line reason instead.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace mav {

struct NetworkAddress {
  std::array<std::uint8_t, 4> address{};  // first number first
  std::uint16_t port = 23;
};

struct SerialAddress {
  std::string device;
  std::uint32_t baud = 9600;
};

std::variant<NetworkAddress, std::string> parse_network_address(std::string_view value);
std::variant<SerialAddress, std::string> parse_serial_address(std::string_view value);

}  // namespace mav
