// The service on an MQTT broker: its state as retained topics under mav/v1/SITE/ (status with a
// last will of "offline", port/NN, net/N), the event stream on event, and requests taken from
// cmd with their responses on cmd/result. The broker's client library has no thread here: the
// service's loop watches its socket and ticks its keep-alive, a lost broker is tried again with a
// growing pause, and every retained topic is published again once it answers. Loop thread.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/BrokerSettings.h"
#include "bridge/HourlyAlarms.h"
#include "service/GatewayService.h"

struct mosquitto;

namespace mav {

class MqttBridge final : public ServiceObserver {
 public:
  MqttBridge(GatewayService& service, MqttSettings settings);
  MqttBridge(const MqttBridge&) = delete;
  MqttBridge& operator=(const MqttBridge&) = delete;
  ~MqttBridge() override;

  // Starts connecting; the service's loop does the rest.
  void start();

  void on_event(std::string_view line) override;
  void on_state(LinkState link, bool synchronised) override;

  // The library's callbacks.
  void connected(int code);
  void message(std::string_view topic, std::string_view payload);

 private:
  void connect();
  void retry_later();
  // After each turn of the library: watches its socket as it now wants, or notices it closed.
  void follow_socket();
  void after_callbacks();
  void lost();
  void publish(const std::string& topic, std::string_view payload, bool retained);
  void publish_all();
  void publish_status();
  void publish_port(const nlohmann::ordered_json& port);
  void publish_nets(const nlohmann::ordered_json& nets);

  GatewayService& service_;
  const MqttSettings settings_;
  const std::string prefix_;  // mav/v1/SITE/
  mosquitto* client_ = nullptr;
  int fd_ = -1;
  bool connected_ = false;
  int tick_timer_ = 0;
  int retry_timer_ = 0;
  std::uint32_t retry_ms_;
  // As the service last reported it: a reply stream under way does not undo a synchronisation.
  bool synchronised_;
  int requester_ = -1;  // the service's client that cmd's requests run as
  std::set<int> nets_;  // the nets with a retained topic
  nlohmann::ordered_json last_change_ = nullptr;
  HourlyAlarms alarms_;
  // The last change goes out with the next tick, not with each of a burst of events.
  bool status_due_ = false;
  // What the library's callbacks asked for, done once the library has returned: it holds its own
  // locks while it calls back, and publishing from there would take them in another order.
  bool republish_due_ = false;
  std::vector<std::string> requests_;
};

}  // namespace mav
