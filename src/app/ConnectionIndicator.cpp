#include "app/ConnectionIndicator.h"

#include <cstdio>
#include <ctime>

namespace mav {

std::string connection_indicator_text(const LinkStatus& status) {
  char text[80];
  if (status.reconnect_attempt > 0 && !status.open) {
    std::snprintf(text, sizeof text, "Reconnecting (attempt %d, next in %d s)",
                  status.reconnect_attempt, status.next_attempt_s);
    return text;
  }
  if (!status.open) return "Not connected";
  const std::string kind = status.network ? " (network)" : " (serial)";
  if (status.network && !status.connected) {
    if (status.reconnect_attempt == 0) return "Connecting to " + status.peer + kind;
    std::snprintf(text, sizeof text, " (attempt %d)", status.reconnect_attempt);
    return "Reconnecting to " + status.peer + text;
  }
  // An open port or socket is not yet a gateway that answers.
  if (status.contact_lost && status.lost_since == 0)
    return "Lost contact with " + status.peer + kind;
  if (status.contact_lost) {
    const std::time_t since = status.lost_since;
    std::tm local{};
    localtime_r(&since, &local);
    std::strftime(text, sizeof text, " since %H:%M:%S", &local);
    return "Lost contact with " + status.peer + kind + text;
  }
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
