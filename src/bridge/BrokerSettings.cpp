#include "bridge/BrokerSettings.h"

#include <mosquitto.h>

#include <charconv>

namespace mav {

bool parse_broker(std::string_view value, MqttSettings& settings) {
  const auto colon = value.rfind(':');
  settings.host = std::string(value.substr(0, colon));
  settings.port = 1883;
  if (colon != std::string_view::npos) {
    const std::string_view digits = value.substr(colon + 1);
    unsigned port = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
    if (error != std::errc() || end != digits.data() + digits.size() || port == 0 || port > 65535)
      return false;
    settings.port = static_cast<std::uint16_t>(port);
  }
  return !settings.host.empty();
}

std::string topic_level(std::string_view name) {
  std::string level(name);
  for (char& c : level) {
    const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '-' || c == '_' || c == '.';
    if (!kept) c = '_';
  }
  return level;
}

void apply_broker_settings(mosquitto* client, const MqttSettings& settings) {
  if (!settings.user.empty()) {
    mosquitto_username_pw_set(client, settings.user.c_str(),
                              settings.password.empty() ? nullptr : settings.password.c_str());
  }
  if (!settings.cafile.empty()) {
    mosquitto_tls_set(client, settings.cafile.c_str(), nullptr, nullptr, nullptr, nullptr);
  }
}

}  // namespace mav
