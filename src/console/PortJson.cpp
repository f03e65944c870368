#include "console/PortJson.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string_view>

#include "console/JsonMembers.h"
#include "protocol/ModelNames.h"

namespace mav {
namespace {

using nlohmann::json;

std::optional<int> whole_in(const json* value, int lowest, int highest) {
  if (value == nullptr || !value->is_number_integer()) return std::nullopt;
  const auto number = value->get<std::int64_t>();
  if (number < lowest || number > highest) return std::nullopt;
  return static_cast<int>(number);
}

// A group number, or GROUP_NONE for null.
std::optional<std::int16_t> group_or_none(const json* value, int highest) {
  if (value != nullptr && value->is_null()) return GROUP_NONE;
  const auto number = whole_in(value, 0, highest);
  if (!number) return std::nullopt;
  return static_cast<std::int16_t>(*number);
}

std::optional<bool> flag(const json& object, const char* key) {
  const json* value = member(object, key);
  if (value == nullptr || !value->is_boolean()) return std::nullopt;
  return value->get<bool>();
}

// The module a name stands for; null is an empty port.
std::optional<std::uint32_t> module_named(const json* value) {
  if (value != nullptr && value->is_null()) return MOD_NONE;
  if (value == nullptr || !value->is_string()) return std::nullopt;
  const int type = model_type_named(value->get_ref<const std::string&>());
  if (type == 0) return std::nullopt;
  return static_cast<std::uint32_t>(type);
}

bool read_monitors(const json* value, std::uint8_t (&monitors)[kMonitorSlots]) {
  if (value == nullptr || !value->is_array() || value->size() >= kMonitorSlots) return false;
  std::size_t slot = 0;
  for (const json& entry : *value) {
    const auto port = whole_in(&entry, 0, kPortCount - 1);
    if (!port) return false;
    monitors[slot++] = static_cast<std::uint8_t>(*port);
  }
  monitors[slot] = PORT_NONE;
  return true;
}

// As much of a name as the record holds: up to a NUL, and cut before a character it would split.
std::string_view fitting_name(std::string_view text) {
  std::size_t size = std::min({text.find('\0'), text.size(), std::size_t{kTextFieldSize - 1}});
  while (size < text.size() && size > 0 && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80)
    --size;
  return text.substr(0, size);
}

}  // namespace

int read_port_json(const json& value, PortRecord (&records)[kPortCount], LockOwners& locks) {
  const auto port = whole_in(member(value, "port"), 0, kPortCount - 1);
  if (!port) return -1;
  PortRecord record = records[*port];
  const auto module = module_named(member(value, "module"));
  const json* name = member(value, "name");
  const auto net = group_or_none(member(value, "net"), 7);
  const auto bus = group_or_none(member(value, "bus"), GROUP_NONE - 1);
  const auto permanent = flag(value, "permanent");
  const auto cor = flag(value, "cor");
  const auto ptt = flag(value, "ptt");
  const auto ring = flag(value, "ring");
  const json* hook = member(value, "hook");
  const json* lock = member(value, "lock");
  if (!module || name == nullptr || !name->is_string() || !net || *net == 0 || !bus || !permanent ||
      !cor || !ptt || !ring || hook == nullptr ||
      !(hook->is_null() || *hook == "on" || *hook == "off") ||
      (lock != nullptr && !lock->is_null() && !lock->is_string()) ||
      !read_monitors(member(value, "monitors"), record.monitors)) {
    return -1;
  }
  record.mod_type = *module;
  const std::string_view text = fitting_name(name->get_ref<const std::string&>());
  std::memset(record.port_name, 0, sizeof record.port_name);
  std::memcpy(record.port_name, text.data(), text.size());
  record.net = *net;
  record.bus = *bus;
  record.perm_conn = *permanent ? 1 : 0;
  record.cor_active = *cor ? 1 : 0;
  record.ptt_active = *ptt ? 1 : 0;
  record.ring_active = *ring ? 1 : 0;
  if (hook->is_string()) record.settings.on_hook = *hook == "on" ? 1 : 0;
  records[*port] = record;
  locks[static_cast<std::size_t>(*port)] =
      lock != nullptr && lock->is_string() ? lock->get<std::string>() : std::string();
  return *port;
}

bool read_nets_json(const json& value, PortRecord (&records)[kPortCount]) {
  if (!value.is_array()) return false;
  struct Place {
    std::int16_t net = GROUP_NONE;
    std::int16_t bus = GROUP_NONE;
  };
  std::array<Place, kPortCount> places{};
  for (const json& entry : value) {
    const auto net = whole_in(member(entry, "net"), 1, 7);
    const auto bus = group_or_none(member(entry, "bus"), GROUP_NONE - 1);
    const json* ports = member(entry, "ports");
    if (!net || !bus || ports == nullptr || !ports->is_array()) return false;
    for (const json& port : *ports) {
      const auto number = whole_in(&port, 0, kPortCount - 1);
      if (!number) return false;
      places[static_cast<std::size_t>(*number)] = {static_cast<std::int16_t>(*net), *bus};
    }
  }
  for (int port = 0; port < kPortCount; ++port) {
    const Place& place = places[static_cast<std::size_t>(port)];
    if (place.net == GROUP_NONE && records[port].net == GROUP_NONE) continue;
    records[port].net = place.net;
    records[port].bus = place.bus;
  }
  return true;
}

}  // namespace mav
