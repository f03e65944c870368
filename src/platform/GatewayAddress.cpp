#include "platform/GatewayAddress.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <charconv>
#include <cstring>
#include <optional>

namespace mav {
namespace {

// The two gateway models' line speeds, as the serial port dialog offers them.
constexpr std::uint32_t kSlowBaud = 9600;
constexpr std::uint32_t kFastBaud = 115200;

std::optional<std::array<std::uint8_t, 4>> ipv4_address_of(const std::string& host) {
  in_addr address{};
  if (inet_pton(AF_INET, host.c_str(), &address) != 1) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (host.empty() || getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0) {
      return std::nullopt;
    }
    address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
  }
  std::array<std::uint8_t, 4> bytes{};
  std::memcpy(bytes.data(), &address.s_addr, bytes.size());  // network order: first number first
  return bytes;
}

template <typename Number>
bool read_number(std::string_view text, Number& out) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

}  // namespace

std::variant<NetworkAddress, std::string> parse_network_address(std::string_view value) {
  NetworkAddress network;
  std::string_view host = value;
  if (const auto colon = value.rfind(':'); colon != std::string_view::npos) {
    host = value.substr(0, colon);
    std::uint32_t port = 0;
    if (!read_number(value.substr(colon + 1), port) || port < 1 || port > 65535) {
      return "bad port number in --connect " + std::string(value) + " (1 to 65535)";
    }
    network.port = static_cast<std::uint16_t>(port);
  }
  const auto address = ipv4_address_of(std::string(host));
  if (!address) return "unknown host in --connect " + std::string(value);
  network.address = *address;
  return network;
}

std::variant<SerialAddress, std::string> parse_serial_address(std::string_view value) {
  SerialAddress serial;
  const auto comma = value.rfind(',');
  serial.device = std::string(value.substr(0, comma));
  if (serial.device.empty()) return "no device in --serial " + std::string(value);
  if (comma != std::string_view::npos) {
    if (!read_number(value.substr(comma + 1), serial.baud) ||
        (serial.baud != kSlowBaud && serial.baud != kFastBaud)) {
      return "bad baud rate in --serial " + std::string(value) + " (9600 or 115200)";
    }
  }
  return serial;
}

}  // namespace mav
