// Every gateway whose service publishes to one broker, as tiles: what the retained status and
// port topics under mav/v1/SITE/ say, and since when the link has been as it is. Whatever a
// message holds that cannot be read leaves the tile as it was. One thread.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "model/DeviceModel.h"

namespace mav {

// The topic filters an overview subscribes to.
inline constexpr const char* kOverviewTopics[] = {"mav/v1/+/status", "mav/v1/+/port/#"};

struct GatewayTile {
  std::string link = "offline";  // "connected", "connecting", "closed" or "offline"
  bool synchronised = false;
  std::uint32_t link_since_ms = 0;
  int modules = 0;
  std::array<int, kPortCount> port_nets{};  // 0: in no net
  std::string last_actor;
  std::string control;    // where a console attaches to the site's service; empty: not offered
  int lost_contacts = 0;  // in the last hour, as the service counts them
  int timeouts = 0;
  int active_nets() const;
};

class GatewayOverview {
 public:
  // False for a topic that is no gateway's status or port.
  bool take(std::string_view topic, std::string_view payload, std::uint32_t now_ms);
  // By site, in name order.
  const std::map<std::string, GatewayTile>& tiles() const { return tiles_; }

 private:
  std::map<std::string, GatewayTile> tiles_;
};

// "12 s", "4 min", "3 h 20 min": how long a tile's link has been as it is.
std::string overview_duration(std::uint32_t ms);

}  // namespace mav
