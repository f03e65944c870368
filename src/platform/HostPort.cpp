#include "platform/HostPort.h"

namespace mav {

AddressList resolve_host_port(std::string_view host_port, bool passive, std::string& error) {
  AddressList none(nullptr, ::freeaddrinfo);
  const std::size_t colon = host_port.rfind(':');
  if (colon == std::string_view::npos || colon == 0 || colon + 1 == host_port.size()) {
    error = "the address is no HOST:PORT";
    return none;
  }
  std::string host(host_port.substr(0, colon));
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
    host = host.substr(1, host.size() - 2);
  const std::string port(host_port.substr(colon + 1));
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV | (passive ? AI_PASSIVE : 0);
  addrinfo* found = nullptr;
  if (const int failed = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &found); failed != 0) {
    error = ::gai_strerror(failed);
    return none;
  }
  return AddressList(found, ::freeaddrinfo);
}

}  // namespace mav
