#include "bridge/GatewayOverview.h"

#include <charconv>
#include <nlohmann/json.hpp>
#include <set>

namespace mav {
namespace {

constexpr std::string_view kPrefix = "mav/v1/";

int whole(const nlohmann::json& value, int otherwise) {
  return value.is_number_integer() ? value.get<int>() : otherwise;
}

void take_status(GatewayTile& tile, std::string_view payload, std::uint32_t now_ms) {
  std::string link = "offline";
  const auto status = nlohmann::json::parse(payload, nullptr, false);
  if (payload != "offline") {
    if (!status.is_object() || !status.contains("link") || !status["link"].is_string()) return;
    link = status["link"].get<std::string>();
    tile.synchronised = status.value("synchronised", false) == true;
    tile.modules = whole(status.value("modules", nlohmann::json()), tile.modules);
    const auto& change = status.value("last_change", nlohmann::json());
    if (change.is_object() && change.contains("actor") && change["actor"].is_string())
      tile.last_actor = change["actor"].get<std::string>();
    const auto& control = status.value("control", nlohmann::json());
    tile.control = control.is_string() ? control.get<std::string>() : std::string();
    const auto& alarms = status.value("alarms", nlohmann::json());
    if (alarms.is_object()) {
      tile.lost_contacts = whole(alarms.value("lost_contact", nlohmann::json()), 0);
      tile.timeouts = whole(alarms.value("timeouts", nlohmann::json()), 0);
    }
  } else {
    tile.synchronised = false;
  }
  if (link != tile.link || tile.link_since_ms == 0) tile.link_since_ms = now_ms;
  tile.link = std::move(link);
}

void take_port(GatewayTile& tile, std::string_view number, std::string_view payload) {
  int port = -1;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), port);
  if (error != std::errc() || end != number.data() + number.size() || port < 0 ||
      port >= kPortCount)
    return;
  const auto record = nlohmann::json::parse(payload, nullptr, false);
  if (!record.is_object()) return;
  tile.port_nets[static_cast<std::size_t>(port)] = whole(record.value("net", nlohmann::json()), 0);
}

}  // namespace

int GatewayTile::active_nets() const {
  std::set<int> nets(port_nets.begin(), port_nets.end());
  nets.erase(0);
  return static_cast<int>(nets.size());
}

bool GatewayOverview::take(std::string_view topic, std::string_view payload, std::uint32_t now_ms) {
  if (!topic.starts_with(kPrefix)) return false;
  topic.remove_prefix(kPrefix.size());
  const std::size_t slash = topic.find('/');
  if (slash == 0 || slash == std::string_view::npos) return false;
  const std::string site(topic.substr(0, slash));
  const std::string_view rest = topic.substr(slash + 1);
  if (rest == "status") {
    take_status(tiles_[site], payload, now_ms);
    return true;
  }
  if (rest.starts_with("port/")) {
    take_port(tiles_[site], rest.substr(5), payload);
    return true;
  }
  return false;
}

std::string overview_duration(std::uint32_t ms) {
  const std::uint32_t seconds = ms / 1000;
  if (seconds < 60) return std::to_string(seconds) + " s";
  if (seconds < 3600) return std::to_string(seconds / 60) + " min";
  const std::uint32_t minutes = seconds / 60 % 60;
  return std::to_string(seconds / 3600) + " h" +
         (minutes != 0 ? " " + std::to_string(minutes) + " min" : "");
}

}  // namespace mav
