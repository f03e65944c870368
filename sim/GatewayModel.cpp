#include "GatewayModel.h"

#include <algorithm>

#include "SettingCatalog.h"

namespace mav::sim {
namespace {

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

GatewayModel::GatewayModel(const Lineup& lineup, int bus_count)
    : bus_count_(std::clamp(bus_count, 1, kMaxBuses)) {
  bus_link_.fill(kNone);
  for (int p = 0; p < kPortCount; ++p) {
    if (lineup[static_cast<std::size_t>(p)] != 0)
      insert_module(p, lineup[static_cast<std::size_t>(p)]);
  }
}

void GatewayModel::insert_module(int p, int mod_type) {
  if (!is_port(p)) return;
  if (has_module(p)) remove_module(p);
  Port& record = mut(p);
  record.mod_type = mod_type;
  for (const SettingRule& rule : settings_of(mod_type)) {
    record.settings[static_cast<std::size_t>(rule.keyword)] = rule.factory;
  }
  record.on_hook = true;
}

void GatewayModel::remove_module(int p) {
  if (!has_module(p)) return;
  disconnect(p, true);
  for (Port& other : ports_) std::erase(other.monitored, p);
  mut(p) = Port{};
}

void GatewayModel::set_setting(int p, int keyword, int value) {
  if (!is_port(p) || keyword < 0 || keyword >= kKeywordCount) return;
  mut(p).settings[static_cast<std::size_t>(keyword)] = value;
}

bool GatewayModel::conference_allowed(int p) const {
  // A module without a conferencing switch (the handset) is never the one that refuses.
  if (find_setting(port(p).mod_type, kw::CONF) == nullptr) return true;
  return port(p).settings[static_cast<std::size_t>(kw::CONF)] != 0;
}

int GatewayModel::connect(int p, int q) {
  if (!has_module(p) || !has_module(q) || p == q) return status::kNotPresent;
  const int bp = port(p).bus;
  const int bq = port(q).bus;
  if (bp != kNone && bp == bq) return status::kOk;
  if (bp == kNone && bq == kNone) {
    const int bus = lowest_free_bus();
    if (bus == kNone) return status::kNoFreeBus;
    mut(p).bus = bus;
    mut(q).bus = bus;
    return status::kOk;
  }
  // Anything beyond a pair on one bus is a conference, which both ports must allow.
  if (!conference_allowed(p) || !conference_allowed(q)) return status::kNoConference;
  if (bp == kNone) {
    mut(p).bus = bq;
  } else if (bq == kNone) {
    mut(q).bus = bp;
  } else {
    link_buses(bp, bq);
  }
  return status::kOk;
}

void GatewayModel::disconnect(int p, bool hang_up) {
  if (!is_port(p)) return;
  Port& record = mut(p);
  const int old_bus = record.bus;
  record.bus = kNone;
  if (hang_up) {
    record.on_hook = true;
    record.disch_group = kNone;
  }
  if (old_bus != kNone) release_bus_if_idle(old_bus);
}

void GatewayModel::release_bus_if_idle(int bus) {
  const std::vector<int> members = ports_on_bus(bus);
  const int link = bus_link_[static_cast<std::size_t>(bus)];
  if (members.size() == 1 && link == kNone) {
    mut(members.front()).bus = kNone;  // one port alone on a bus hears nobody
  }
  if (!members.empty() || link == kNone) return;
  bus_link_[static_cast<std::size_t>(bus)] = kNone;
  // A link that joins a single bus no longer joins anything.
  const auto still_linked = std::count(bus_link_.begin(), bus_link_.end(), link);
  if (still_linked == 1) std::replace(bus_link_.begin(), bus_link_.end(), link, kNone);
}

std::vector<int> GatewayModel::ports_on_bus(int bus) const {
  std::vector<int> members;
  for (int p = 0; p < kPortCount; ++p) {
    if (bus != kNone && port(p).bus == bus) members.push_back(p);
  }
  return members;
}

int GatewayModel::link_of_bus(int bus) const {
  if (bus < 0 || bus >= kMaxBuses) return kNone;
  return bus_link_[static_cast<std::size_t>(bus)];
}

int GatewayModel::lowest_free_bus() const {
  for (int bus = 0; bus < bus_count_; ++bus) {
    if (ports_on_bus(bus).empty()) return bus;
  }
  return kNone;
}

int GatewayModel::free_bus_count() const {
  int count = 0;
  for (int bus = 0; bus < bus_count_; ++bus) count += ports_on_bus(bus).empty() ? 1 : 0;
  return count;
}

void GatewayModel::link_buses(int a, int b) {
  int& la = bus_link_[static_cast<std::size_t>(a)];
  int& lb = bus_link_[static_cast<std::size_t>(b)];
  if (la == kNone && lb == kNone) {
    int link = 0;
    while (std::find(bus_link_.begin(), bus_link_.end(), link) != bus_link_.end()) ++link;
    la = link;
    lb = link;
  } else if (la == kNone) {
    la = lb;
  } else if (lb == kNone) {
    lb = la;
  } else if (la != lb) {
    std::replace(bus_link_.begin(), bus_link_.end(), lb, la);
  }
}

bool GatewayModel::adopt_relay_image(std::string_view hex) {
  constexpr std::size_t kDigits = 2 * kPortCount;
  if (hex.size() < kDigits) return false;
  for (std::size_t i = 0; i < kDigits; ++i) {
    if (hex_digit(hex[i]) < 0) return false;
  }
  for (int p = 0; p < kPortCount; ++p) {
    const auto at = static_cast<std::size_t>(2 * p);
    const int byte = hex_digit(hex[at]) * 16 + hex_digit(hex[at + 1]);
    mut(p).disch_group = has_module(p) ? byte % 8 - 1 : kNone;
  }
  return true;
}

std::string GatewayModel::relay_image() const {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string image;
  for (int p = 0; p < 32; ++p) {
    int byte = 0;
    if (is_port(p)) {
      const Port& record = port(p);
      const int n = record.bus + 1;
      const int l = link_of_bus(record.bus) + 1;
      const int d = record.disch_group + 1;
      byte = ((n * 4 + l) * 8 + d) & 0xFF;
    }
    image += kDigits[byte / 16];
    image += kDigits[byte % 16];
  }
  return image;
}

bool GatewayModel::set_monitor(int p, int q, bool on) {
  if (!has_module(p) || !has_module(q) || p == q) return false;
  std::vector<int>& list = mut(p).monitored;
  const bool present = std::find(list.begin(), list.end(), q) != list.end();
  if (on && !present) list.push_back(q);
  if (!on) std::erase(list, q);
  return true;
}

void GatewayModel::set_on_hook(int p, bool on_hook) {
  if (is_port(p)) mut(p).on_hook = on_hook;
}

int GatewayModel::store_pin(int pin, int level) {
  if (pin < 0 || pin > 9999 || level < 0 || level > 9) return status::kOutOfRange;
  for (PinUser& user : pins_) {
    if (user.pin == pin) {
      user.level = level;
      return status::kOk;
    }
  }
  if (static_cast<int>(pins_.size()) >= kMaxPins) return status::kNoRoom;
  pins_.push_back({pin, level});
  return status::kOk;
}

int GatewayModel::delete_pin(int pin) {
  const auto erased = std::erase_if(pins_, [pin](const PinUser& user) { return user.pin == pin; });
  return erased > 0 ? status::kOk : status::kNotPresent;
}

int GatewayModel::pin_access(int pin, int to) const {
  const auto user =
      std::find_if(pins_.begin(), pins_.end(), [pin](const PinUser& u) { return u.pin == pin; });
  if (user == pins_.end()) return status::kUnknownPin;
  int required = 0;
  if (has_module(to) && find_setting(port(to).mod_type, kw::SECURITY_LEVEL) != nullptr) {
    required = port(to).settings[static_cast<std::size_t>(kw::SECURITY_LEVEL)];
  }
  return user->level >= required ? status::kOk : status::kInsufficientPin;
}

void GatewayModel::set_activity(Indicator which, std::uint32_t mask) {
  activity_[index(which)] = mask & ((1u << kPortCount) - 1u);
}

void GatewayModel::restart() {
  for (Port& record : ports_) {
    record.bus = kNone;
    record.disch_group = kNone;
    record.on_hook = true;
    record.monitored.clear();
  }
  bus_link_.fill(kNone);
  activity_.fill(0);
  reporting_.fill(false);
  voice_prompts = true;
  user_program = false;
}

}  // namespace mav::sim
