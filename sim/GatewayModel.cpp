#include "GatewayModel.h"

#include <algorithm>
#include <utility>

#include "SettingCatalog.h"

namespace mav::sim {

GatewayModel::GatewayModel(const Lineup& lineup, int bus_count)
    : bus_count_(std::clamp(bus_count, 1, kMaxBuses)) {
  bus_link_.fill(kNone);
  bus_net_.fill(kNone);
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

int GatewayModel::connect(int p, int q, Join how) {
  if (!has_module(p) || !has_module(q) || p == q) return status::kNotPresent;
  int result = status::kOk;
  const bool grouped = port(p).disch_group != kNone || port(q).disch_group != kNone;
  if (closes_ranks(p, q)) {
    mut(p).held = false;
    mut(q).held = false;
    unlink_bus(port(p).bus);
  } else if (grouped || (port(p).held && port(q).held)) {
    result = join_group(p, q);
  } else {
    result = join_buses(p, q, how);
  }
  number_nets();
  return result;
}

// A linked net is taken apart by holding each of its ports and joining them again: that keeps
// them together on their bus, without the link. A split holds two ports of which at least one
// leaves a port behind that still talks, so it makes a DISCH group instead.
bool GatewayModel::closes_ranks(int p, int q) const {
  const int bus = port(p).bus;
  if (!port(p).held || !port(q).held || bus == kNone || port(q).bus != bus) return false;
  for (int member : ports_on_bus(bus)) {
    if (!port(member).held && port(member).disch_group == kNone) return false;
  }
  return true;
}

// The first named port's group wins; a port that comes over from another group leaves it.
int GatewayModel::join_group(int p, int q) {
  int group = port(p).disch_group != kNone ? port(p).disch_group : port(q).disch_group;
  for (int candidate = 0; group == kNone && candidate < kMaxDischGroups; ++candidate) {
    const bool taken = std::any_of(ports_.begin(), ports_.end(), [candidate](const Port& other) {
      return other.disch_group == candidate;
    });
    if (!taken) group = candidate;
  }
  if (group == kNone) return status::kNoFreeBus;
  for (int member : {p, q}) {
    if (port(member).disch_group != group) leave_group(member);
    mut(member).disch_group = group;
    mut(member).held = false;
  }
  return status::kOk;
}

int GatewayModel::join_buses(int p, int q, Join how) {
  // A held port gives up its place on another bus; on its partner's bus it simply stays.
  const auto bus_kept = [this](int a, int b) {
    return port(a).held && port(a).bus != port(b).bus ? kNone : port(a).bus;
  };
  const int bp = bus_kept(p, q);
  const int bq = bus_kept(q, p);
  if (bp == kNone && bq == kNone && lowest_free_bus() == kNone) return status::kNoFreeBus;
  // Anything beyond a pair on one bus is a conference, which both ports must allow.
  const bool conference = bp != bq && (bp != kNone || bq != kNone);
  if (conference && (!conference_allowed(p) || !conference_allowed(q))) {
    return status::kNoConference;
  }
  if (bp != port(p).bus) leave_bus(p);
  if (bq != port(q).bus) leave_bus(q);
  mut(p).held = false;
  mut(q).held = false;
  if (bp == kNone && bq == kNone) {
    const int bus = lowest_free_bus();
    mut(p).bus = bus;
    mut(q).bus = bus;
  } else if (bp == kNone) {
    mut(p).bus = bq;
  } else if (bq == kNone) {
    mut(q).bus = bp;
  } else if (bp != bq && how == Join::kLink) {
    link_buses(bp, bq);
  } else if (bp != bq) {
    unlink_bus(bp);
    leave_bus(q);
    mut(q).bus = bp;
  }
  return status::kOk;
}

void GatewayModel::disconnect(int p, bool hang_up) {
  if (!is_port(p)) return;
  if (hang_up) {
    leave_group(p);
    leave_bus(p);
    mut(p).held = false;
    mut(p).on_hook = true;
  } else if (port(p).disch_group != kNone) {
    leave_group(p);
  } else {
    mut(p).held = true;
  }
  number_nets();
}

void GatewayModel::disconnect_all(bool hang_up) {
  for (Port& record : ports_) {
    record.bus = kNone;
    record.disch_group = kNone;
    record.held = false;
    if (hang_up) record.on_hook = true;
  }
  bus_link_.fill(kNone);
  number_nets();
}

std::vector<int> GatewayModel::take_left_alone() {
  return std::exchange(left_alone_, {});
}

void GatewayModel::leave_bus(int p) {
  const int old_bus = port(p).bus;
  mut(p).bus = kNone;
  if (old_bus != kNone) release_bus_if_idle(old_bus);
}

// A group of one holds nobody together: it is dissolved and its last member noted for the report.
void GatewayModel::leave_group(int p) {
  const int group = port(p).disch_group;
  if (group == kNone) return;
  mut(p).disch_group = kNone;
  std::vector<int> members;
  for (int other = 0; other < kPortCount; ++other) {
    if (port(other).disch_group == group) members.push_back(other);
  }
  if (members.size() != 1) return;
  mut(members.front()).disch_group = kNone;
  left_alone_.push_back(members.front());
}

void GatewayModel::release_bus_if_idle(int bus) {
  const std::vector<int> members = ports_on_bus(bus);
  if (members.size() == 1 && link_of_bus(bus) == kNone) {
    mut(members.front()).bus = kNone;  // one port alone on a bus hears nobody
  }
  if (members.empty()) unlink_bus(bus);
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

bool GatewayModel::has_links_or_groups() const {
  const bool linked =
      std::any_of(bus_link_.begin(), bus_link_.end(), [](int link) { return link != kNone; });
  return linked || std::any_of(ports_.begin(), ports_.end(),
                               [](const Port& record) { return record.disch_group != kNone; });
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

void GatewayModel::unlink_bus(int bus) {
  const int link = bus_link_[static_cast<std::size_t>(bus)];
  if (link == kNone) return;
  bus_link_[static_cast<std::size_t>(bus)] = kNone;
  // A link that joins a single bus no longer joins anything, and a lone port on that bus is left
  // hearing nobody.
  if (std::count(bus_link_.begin(), bus_link_.end(), link) != 1) return;
  const auto last = std::find(bus_link_.begin(), bus_link_.end(), link);
  *last = kNone;
  release_bus_if_idle(static_cast<int>(last - bus_link_.begin()));
}

// The controller's rule, so that both sides show the same net numbers.
void GatewayModel::number_nets() {
  for (int bus = 0; bus < kMaxBuses; ++bus) {
    if (ports_on_bus(bus).empty()) bus_net_[static_cast<std::size_t>(bus)] = kNone;
  }
  for (int bus = 0; bus < kMaxBuses; ++bus) {
    if (bus_net_[static_cast<std::size_t>(bus)] != kNone || ports_on_bus(bus).empty()) continue;
    int net = 1;
    while (std::find(bus_net_.begin(), bus_net_.end(), net) != bus_net_.end()) ++net;
    bus_net_[static_cast<std::size_t>(bus)] = net;
  }
}

std::string GatewayModel::relay_image() const {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string image;
  for (int p = 0; p < 32; ++p) {
    int byte = 0;
    if (is_port(p)) {
      const Port& record = port(p);
      const int n = record.bus == kNone ? 0 : bus_net_[static_cast<std::size_t>(record.bus)] + 1;
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

int GatewayModel::pin_access(int pin, int from, int to) const {
  const auto user =
      std::find_if(pins_.begin(), pins_.end(), [pin](const PinUser& u) { return u.pin == pin; });
  if (user == pins_.end()) return status::kUnknownPin;
  const bool admitted = level_admits(user->level, from) && level_admits(user->level, to);
  return admitted ? status::kOk : status::kInsufficientPin;
}

// A port of level 0 is open to every user. Above that, EXCLUSIVE keeps each level to the users
// of that very level, PRIORITY admits every user of that level or higher, OFF checks nothing.
bool GatewayModel::level_admits(int level, int p) const {
  int required = 0;
  if (has_module(p) && find_setting(port(p).mod_type, kw::SECURITY_LEVEL) != nullptr) {
    required = port(p).settings[static_cast<std::size_t>(kw::SECURITY_LEVEL)];
  }
  if (security_mode == vw::OFF || required == 0) return true;
  return security_mode == vw::EXCLUSIVE ? level == required : level >= required;
}

void GatewayModel::set_activity(Indicator which, std::uint32_t mask) {
  activity_[index(which)] = mask & ((1u << kPortCount) - 1u);
}

void GatewayModel::restart() {
  disconnect_all(true);
  for (Port& record : ports_) record.monitored.clear();
  activity_.fill(0);
  left_alone_.clear();
}

}  // namespace mav::sim
