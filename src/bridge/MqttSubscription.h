// A reader of a broker's topics for a program with a window: the broker's client runs on a thread
// of its own (the window's thread never waits on the network), reconnects by itself, and hands
// each message to `on_message` on that thread; the window moves it to its own.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "bridge/BrokerSettings.h"

namespace mav {

class MqttSubscription {
 public:
  // Broker's thread: a retained or live message of one of the filters.
  using Message = std::function<void(std::string topic, std::string payload)>;

  MqttSubscription(MqttSettings settings, std::vector<std::string> filters, Message on_message);
  MqttSubscription(const MqttSubscription&) = delete;
  MqttSubscription& operator=(const MqttSubscription&) = delete;
  ~MqttSubscription();

  // Starts the client's thread; false with a sentence when it cannot start at all (a broker that
  // is not there yet is tried again, not refused).
  bool start(std::string& error);

  // The library's callbacks.
  void connected(int code);
  void message(std::string topic, std::string payload) const {
    on_message_(std::move(topic), std::move(payload));
  }

 private:
  const MqttSettings settings_;
  const std::vector<std::string> filters_;
  const Message on_message_;
  mosquitto* client_ = nullptr;
  bool running_ = false;
};

}  // namespace mav
