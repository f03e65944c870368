#include "bridge/MqttBridge.h"

#include <mosquitto.h>
#include <poll.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <utility>

namespace mav {
namespace {

constexpr std::uint32_t kFirstRetryMs = 1000;
constexpr std::uint32_t kLastRetryMs = 30000;
// How often the library may send its keep-alive and notice a broker that stopped answering.
constexpr std::uint32_t kTickMs = 500;
constexpr int kStateQos = 1;
constexpr const char* kWill = "offline";

MqttBridge& bridge_of(void* user) {
  return *static_cast<MqttBridge*>(user);
}

}  // namespace

MqttBridge::MqttBridge(GatewayService& service, MqttSettings settings)
    : service_(service),
      settings_(std::move(settings)),
      prefix_("mav/v1/" + settings_.site + "/"),
      retry_ms_(kFirstRetryMs),
      synchronised_(service.synchronised()) {
  mosquitto_lib_init();
  const std::string id = "mav-gatewayd/" + settings_.site;
  client_ = mosquitto_new(id.c_str(), true, this);
  const std::string status = prefix_ + "status";
  mosquitto_will_set(client_, status.c_str(),
                     static_cast<int>(std::char_traits<char>::length(kWill)), kWill, kStateQos,
                     true);
  apply_broker_settings(client_, settings_);
  mosquitto_connect_callback_set(
      client_, [](mosquitto*, void* user, int code) { bridge_of(user).connected(code); });
  mosquitto_message_callback_set(
      client_, [](mosquitto*, void* user, const mosquitto_message* message) {
        bridge_of(user).message(
            message->topic,
            std::string_view(static_cast<const char*>(message->payload),
                             static_cast<std::size_t>(std::max(message->payloadlen, 0))));
      });
  // The broker's requests run as one client of the service, named by the broker user.
  requester_ = service_.attach_client(
      settings_.user.empty() ? "mqtt" : "mqtt:" + settings_.user, settings_.user,
      [this](std::string_view response) { publish(prefix_ + "cmd/result", response, false); });
  service_.add_observer(*this);
}

MqttBridge::~MqttBridge() {
  EventLoop& loop = service_.loop();
  if (fd_ >= 0) loop.unwatch(fd_);
  if (tick_timer_ != 0) loop.cancel_timer(tick_timer_);
  if (retry_timer_ != 0) loop.cancel_timer(retry_timer_);
  service_.detach_client(requester_);
  // A service that stops on purpose says so; only a dead one leaves the will to the broker.
  if (connected_) {
    publish(prefix_ + "status", kWill, true);
    mosquitto_disconnect(client_);
  }
  mosquitto_destroy(client_);
  mosquitto_lib_cleanup();
}

void MqttBridge::start() {
  tick_timer_ = service_.loop().add_timer(kTickMs, true, [this] {
    // The end of the first synchronisation touches nothing the service reports; it shows here.
    if (!synchronised_ && service_.synchronised()) on_state(service_.link_state(), true);
    const std::uint32_t now = service_.engine().clock().now_ms();
    if (alarms_.timeouts_total(service_.engine().trace().timeout_count(), now)) status_due_ = true;
    if (fd_ < 0) return;
    if (status_due_) publish_status();
    mosquitto_loop_misc(client_);
    follow_socket();
  });
  const int code = mosquitto_connect_async(client_, settings_.host.c_str(), settings_.port,
                                           settings_.keepalive_s);
  if (code != MOSQ_ERR_SUCCESS) return retry_later();
  follow_socket();
}

void MqttBridge::connect() {
  retry_timer_ = 0;
  if (mosquitto_reconnect_async(client_) != MOSQ_ERR_SUCCESS) return retry_later();
  follow_socket();
}

void MqttBridge::retry_later() {
  if (retry_timer_ != 0) return;
  retry_timer_ = service_.loop().add_timer(retry_ms_, false, [this] { connect(); });
  retry_ms_ = std::min(retry_ms_ * 2, kLastRetryMs);
}

void MqttBridge::follow_socket() {
  const int fd = mosquitto_socket(client_);
  if (fd < 0) return lost();
  const short events = static_cast<short>(POLLIN | (mosquitto_want_write(client_) ? POLLOUT : 0));
  if (fd == fd_) return service_.loop().set_events(fd, events);
  if (fd_ >= 0) service_.loop().unwatch(fd_);
  fd_ = fd;
  service_.loop().watch(fd, events, [this](short revents) {
    int code = MOSQ_ERR_SUCCESS;
    if (revents & (POLLIN | POLLHUP | POLLERR)) code = mosquitto_loop_read(client_, 1);
    if (code == MOSQ_ERR_SUCCESS && (revents & POLLOUT)) code = mosquitto_loop_write(client_, 1);
    if (code != MOSQ_ERR_SUCCESS) return lost();
    after_callbacks();
    follow_socket();
  });
}

void MqttBridge::lost() {
  if (fd_ >= 0) service_.loop().unwatch(fd_);
  fd_ = -1;
  connected_ = false;
  mosquitto_disconnect(client_);  // closes what is left of the socket
  retry_later();
}

void MqttBridge::connected(int code) {
  if (code != 0) return;  // refused: the socket closes and the retries go on
  connected_ = true;
  retry_ms_ = kFirstRetryMs;
  republish_due_ = true;
}

void MqttBridge::after_callbacks() {
  if (std::exchange(republish_due_, false)) {
    const std::string cmd = prefix_ + "cmd";
    mosquitto_subscribe(client_, nullptr, cmd.c_str(), kStateQos);
    publish_all();
  }
  for (const std::string& request : std::exchange(requests_, {})) {
    service_.submit(requester_, request);
  }
}

void MqttBridge::message(std::string_view topic, std::string_view payload) {
  if (topic != prefix_ + "cmd") return;
  // The broker's requests keep the name the bridge gave them: an identify may not rename them.
  const auto message = nlohmann::json::parse(payload, nullptr, false);
  if (message.is_object() && message.contains("type") && message["type"] == "identify") return;
  requests_.emplace_back(payload);
}

void MqttBridge::on_event(std::string_view line) {
  if (is_lost_contact_event(line)) {
    alarms_.lost_contact(service_.engine().clock().now_ms());
    status_due_ = true;
  }
  if (!connected_) return;
  publish(prefix_ + "event", line, false);
  const auto event = nlohmann::ordered_json::parse(line, nullptr, false);
  if (!event.is_object()) return;
  last_change_ = {{"seq", event["seq"]}, {"actor", event["actor"]}};
  const auto& what = event["event"];
  if (what.contains("port")) publish_port(what["port"]);
  if (what.contains("nets")) publish_nets(what["nets"]);
  status_due_ = true;
}

void MqttBridge::on_state(LinkState, bool synchronised) {
  synchronised_ = synchronised;
  if (connected_) publish_status();
}

void MqttBridge::publish(const std::string& topic, std::string_view payload, bool retained) {
  if (!connected_) return;
  mosquitto_publish(client_, nullptr, topic.c_str(), static_cast<int>(payload.size()),
                    payload.data(), retained ? kStateQos : 0, retained);
  follow_socket();
}

void MqttBridge::publish_all() {
  const auto snapshot = nlohmann::ordered_json::parse(service_.snapshot(), nullptr, false);
  if (!snapshot.is_object()) return;
  for (const auto& port : snapshot["ports"]) publish_port(port);
  nets_.clear();
  for (int net = 1; net <= 7; ++net) nets_.insert(net);  // clears what an earlier run left
  publish_nets(snapshot["nets"]);
  publish_status();
}

void MqttBridge::publish_status() {
  status_due_ = false;
  publish(prefix_ + "status",
          dump_line({{"link", link_word(service_.link_state())},
                     {"synchronised", synchronised_},
                     {"modules", service_.engine().model().CountModules()},
                     {"last_change", last_change_},
                     {"alarms", alarms_.json(service_.engine().clock().now_ms())},
                     {"control", service_.tcp_address().empty()
                                     ? nlohmann::ordered_json(nullptr)
                                     : nlohmann::ordered_json(service_.tcp_address())}}),
          true);
}

void MqttBridge::publish_port(const nlohmann::ordered_json& port) {
  char topic[16];
  std::snprintf(topic, sizeof topic, "port/%02d", port.value("port", 0));
  publish(prefix_ + topic, dump_line(port), true);
}

void MqttBridge::publish_nets(const nlohmann::ordered_json& nets) {
  std::set<int> present;
  for (const auto& net : nets) {
    const int number = net.value("net", 0);
    present.insert(number);
    publish(prefix_ + "net/" + std::to_string(number), dump_line(net), true);
  }
  // An empty retained message takes a net that emptied off the broker.
  for (const int number : nets_) {
    if (present.count(number) == 0) publish(prefix_ + "net/" + std::to_string(number), "", true);
  }
  nets_ = std::move(present);
}

}  // namespace mav
