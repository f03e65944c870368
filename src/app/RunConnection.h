// The connection the command line asks for at this start. It belongs to this run alone: the
// stored connection choice, the site list and "Sites.cfg" never learn of it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace mav {

struct RunConnection {
  enum class Kind {
    Stored,   // as the preferences say
    None,     // no connection at start-up, whatever the preferences say
    Network,  // `address`:`port`
    Serial,   // `device` at `baud`
    Service,  // attached to the gateway service at `device` (a socket path or HOST:PORT)
  };
  Kind kind = Kind::Stored;
  std::array<std::uint8_t, 4> address{};
  std::int32_t port = 0;
  std::string device;
  std::uint32_t baud = 0;
  std::string token;  // the service's token; empty: none
};

}  // namespace mav
