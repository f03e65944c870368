// Opening the socket of a service without waiting: a Unix socket path, or HOST:PORT over TCP.
// The connect completes (or fails) later, reported by the socket's event host.
#pragma once

#include <string>
#include <string_view>

namespace mav {

// HOST:PORT (a v6 host in brackets) when the text has a colon and no slash; otherwise a path.
bool is_tcp_address(std::string_view address);

// A non-blocking socket with its connect under way or done; -1 with the reason in error when
// it failed at once (no such path, a refused or unresolvable address).
int open_service_socket(const std::string& address, std::string& error);

}  // namespace mav
