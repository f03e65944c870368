#include "bridge/MqttSubscription.h"

#include <mosquitto.h>

#include <algorithm>

namespace mav {
namespace {

constexpr int kQos = 1;
constexpr unsigned kFirstRetryS = 1;
constexpr unsigned kLastRetryS = 30;

MqttSubscription& subscription_of(void* user) {
  return *static_cast<MqttSubscription*>(user);
}

}  // namespace

MqttSubscription::MqttSubscription(MqttSettings settings, std::vector<std::string> filters,
                                   Message on_message)
    : settings_(std::move(settings)),
      filters_(std::move(filters)),
      on_message_(std::move(on_message)) {
  mosquitto_lib_init();
  client_ = mosquitto_new(nullptr, true, this);
}

MqttSubscription::~MqttSubscription() {
  if (running_) {
    mosquitto_disconnect(client_);
    mosquitto_loop_stop(client_, true);
  }
  mosquitto_destroy(client_);
  mosquitto_lib_cleanup();
}

bool MqttSubscription::start(std::string& error) {
  if (client_ == nullptr) {
    error = "The broker's client cannot be made.";
    return false;
  }
  apply_broker_settings(client_, settings_);
  mosquitto_reconnect_delay_set(client_, kFirstRetryS, kLastRetryS, true);
  mosquitto_connect_callback_set(
      client_, [](mosquitto*, void* user, int code) { subscription_of(user).connected(code); });
  mosquitto_message_callback_set(client_, [](mosquitto*, void* user,
                                             const mosquitto_message* message) {
    subscription_of(user).message(
        message->topic, std::string(static_cast<const char*>(message->payload),
                                    static_cast<std::size_t>(std::max(message->payloadlen, 0))));
  });
  // Asynchronous: a broker that is not there yet is tried again by the client's thread.
  mosquitto_connect_async(client_, settings_.host.c_str(), settings_.port, settings_.keepalive_s);
  if (mosquitto_loop_start(client_) != MOSQ_ERR_SUCCESS) {
    error = "The broker's client cannot start its thread.";
    return false;
  }
  running_ = true;
  return true;
}

void MqttSubscription::connected(int code) {
  if (code != 0) return;
  // Subscribing on every connect brings the retained state again after the broker came back.
  for (const std::string& filter : filters_) {
    mosquitto_subscribe(client_, nullptr, filter.c_str(), kQos);
  }
}

}  // namespace mav
