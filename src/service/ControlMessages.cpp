// The lines the service writes: hello, snapshot, responses and events.
#include "service/ControlMessages.h"

#include <cstdio>
#include <cstring>
#include <ctime>

#include "protocol/ModelNames.h"

namespace mav {
namespace {

using nlohmann::json;
using nlohmann::ordered_json;

std::string_view status_word(ResponseStatus status) {
  switch (status) {
    case ResponseStatus::Accepted:
      return "accepted";
    case ResponseStatus::Applied:
      return "applied";
    case ResponseStatus::Refused:
      return "refused";
    case ResponseStatus::Error:
      return "error";
  }
  return "error";
}

ordered_json module_of(std::uint32_t mod_type) {
  const std::string_view name = model_name(static_cast<int>(mod_type));
  if (name.empty()) return nullptr;
  return name;
}

ordered_json group_or_null(std::int16_t group) {
  if (group < 0 || group >= GROUP_NONE) return nullptr;
  return group;
}

}  // namespace

std::string local_time_text(std::chrono::system_clock::time_point when, bool milliseconds) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[40];
  const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
  if (milliseconds) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        when.time_since_epoch() - std::chrono::seconds(seconds))
                        .count();
    std::snprintf(text + length, sizeof text - length, ".%03d", static_cast<int>(ms));
  }
  return text;
}

std::string_view link_word(LinkState link) {
  switch (link) {
    case LinkState::Connected:
      return "connected";
    case LinkState::Connecting:
      return "connecting";
    case LinkState::Closed:
      return "closed";
  }
  return "closed";
}

std::string dump_line(const ordered_json& value) {
  return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string encode_hello(std::string_view site, LinkState link, bool synchronised,
                         std::string_view challenge) {
  return dump_line(ordered_json{{"type", "hello"},
                                {"protocol", kControlProtocol},
                                {"site", site},
                                {"link", link_word(link)},
                                {"synchronised", synchronised},
                                {"challenge", challenge}});
}

ordered_json port_json(int port, const PortRecord& record, std::string_view lock) {
  ordered_json monitors = ordered_json::array();
  for (int i = 0; i < kPortCount && record.monitors[i] != PORT_NONE; ++i)
    monitors.push_back(record.monitors[i]);
  const bool has_hook = record.mod_type == MOD_LINE7 || record.mod_type == MOD_HK6;
  const ordered_json net = record.net >= 1 && record.net <= 7 ? ordered_json(record.net) : nullptr;
  return ordered_json{
      {"port", port},
      {"module", module_of(record.mod_type)},
      {"name", std::string(record.port_name, strnlen(record.port_name, kTextFieldSize))},
      {"net", net},
      {"bus", group_or_null(record.bus)},
      {"monitors", monitors},
      {"permanent", record.perm_conn != 0},
      {"cor", record.cor_active != 0},
      {"ptt", record.ptt_active != 0},
      {"ring", record.ring_active != 0},
      {"hook", has_hook ? ordered_json(record.settings.on_hook != 0 ? "on" : "off") : nullptr},
      {"lock", lock.empty() ? ordered_json(nullptr) : ordered_json(lock)}};
}

ordered_json nets_json(const PortRecord (&records)[kPortCount]) {
  ordered_json nets = ordered_json::array();
  for (int net = 1; net <= 7; ++net) {
    ordered_json members = ordered_json::array();
    ordered_json bus = nullptr;
    for (int port = 0; port < kPortCount; ++port) {
      if (records[port].net != net) continue;
      members.push_back(port);
      if (bus.is_null()) bus = group_or_null(records[port].bus);
    }
    if (!members.empty())
      nets.push_back(ordered_json{{"net", net}, {"bus", bus}, {"ports", members}});
  }
  return nets;
}

std::string encode_snapshot(std::uint64_t seq, const DeviceModel& model, const LockOwners& locks) {
  ordered_json ports = ordered_json::array();
  PortRecord records[kPortCount];
  for (int port = 0; port < kPortCount; ++port) {
    model.GetPort(port, records[port]);
    ports.push_back(port_json(port, records[port], locks[static_cast<std::size_t>(port)]));
  }
  // The nets from the same copies as the ports, so the two lists always agree.
  return dump_line(ordered_json{
      {"type", "snapshot"}, {"seq", seq}, {"ports", ports}, {"nets", nets_json(records)}});
}

std::string encode_response(const json& id, ResponseStatus status, const ordered_json& extra) {
  ordered_json line{{"type", "response"}, {"id", id}, {"status", status_word(status)}};
  for (const auto& [key, value] : extra.items()) line[key] = value;
  return dump_line(line);
}

std::string encode_refusal(const json& id, ResponseStatus status, std::string_view code,
                           std::string_view message) {
  return encode_response(id, status, ordered_json{{"code", code}, {"message", message}});
}

std::string encode_error(const ControlError& error) {
  return encode_refusal(error.id, ResponseStatus::Error, error.code, error.message);
}

std::string EventSequence::next(std::string_view actor, const ordered_json& event) {
  return dump_line(
      ordered_json{{"type", "event"}, {"seq", ++last_}, {"actor", actor}, {"event", event}});
}

}  // namespace mav
