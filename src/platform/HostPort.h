// HOST:PORT as the control protocol's clients and listeners write it ("[::1]:7700" for IPv6),
// resolved for a stream socket. Any thread.
#pragma once

#include <netdb.h>

#include <memory>
#include <string>
#include <string_view>

namespace mav {

using AddressList = std::unique_ptr<addrinfo, void (*)(addrinfo*)>;

// The addresses HOST:PORT names (for a listener: passive); nothing, with the resolver's sentence
// in error, when it names none.
AddressList resolve_host_port(std::string_view host_port, bool passive, std::string& error);

}  // namespace mav
