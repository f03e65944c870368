// How a client of the broker reaches it: address, user and password, TLS, keep-alive, and the
// site whose topics it publishes. The service's bridge and the controller's overview share it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct mosquitto;

namespace mav {

struct MqttSettings {
  std::string host;
  std::uint16_t port = 1883;
  std::string site;  // the topic level that names this gateway
  std::string user;  // also the token name the broker's requests carry
  std::string password;
  std::string cafile;  // TLS when given
  int keepalive_s = 30;
};

// HOST[:PORT] of a broker (1883 when left out); false for a value that names none.
bool parse_broker(std::string_view value, MqttSettings& settings);
// A site name as one topic level: the characters MQTT gives a meaning ('/', '+', '#') and
// anything outside letters, digits, '-', '_' and '.' become '_'.
std::string topic_level(std::string_view name);

// The user, the password and TLS as the settings say, on a client not yet connected.
void apply_broker_settings(mosquitto* client, const MqttSettings& settings);

}  // namespace mav
