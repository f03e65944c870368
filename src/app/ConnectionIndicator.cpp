#include "app/ConnectionIndicator.h"

#include <cstdio>

namespace mav {

std::string connection_indicator_text(const LinkStatus& status) {
  if (!status.open) return "Not connected";
  const std::string kind = status.network ? " (network)" : " (serial)";
  if (status.network && !status.connected) return "Connecting to " + status.peer + kind;
  // An open port or socket is not yet a gateway that answers.
  if (status.contact_lost) return "Lost contact with " + status.peer + kind;
  return "Connected to " + status.peer + kind;
}

std::string site_peer_name(const NetworkSite& site) {
  if (!site.description.empty()) return site.description;
  char text[32];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d:%d", site.address[0], site.address[1],
                site.address[2], site.address[3], site.port);
  return text;
}

}  // namespace mav
