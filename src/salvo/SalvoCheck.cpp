#include "salvo/SalvoCheck.h"

#include <algorithm>
#include <cstring>

#include "config/ConfigurationChanges.h"
#include "matrix/MonitorListText.h"
#include "model/MonitorList.h"
#include "protocol/ModelNames.h"

namespace mav {
namespace {

constexpr int kNetValues = 8;  // the comparison knows nets by values 0..7
constexpr int kGatewayNets = 7;

bool contains(const std::vector<int>& ports, int port) {
  return std::find(ports.begin(), ports.end(), port) != ports.end();
}

// The current net every port of which is in `net`, holding the most of its ports.
int net_to_grow_from(const std::array<PortRecord, kPortCount>& now, const std::vector<int>& net) {
  int best = GROUP_NONE;
  int best_size = 0;
  for (const int port : net) {
    const int candidate = now[static_cast<std::size_t>(port)].net;
    if (candidate == GROUP_NONE) continue;
    int size = 0;
    bool inside = true;
    for (int other = 0; other < kPortCount; ++other) {
      if (now[static_cast<std::size_t>(other)].net != candidate) continue;
      inside = inside && contains(net, other);
      ++size;
    }
    if (inside && size > best_size) {
      best = candidate;
      best_size = size;
    }
  }
  return best;
}

// Lone net values of the end state stand for no net, as the comparison reads them; the salvo's
// new nets then take values no remaining net holds.
void settle_end_nets(SalvoOutcome& outcome, const Salvo& salvo) {
  auto& ports = outcome.end.ports;
  std::array<int, kNetValues> members{};
  for (const PortRecord& record : ports) {
    if (record.net >= 0 && record.net < kNetValues) ++members[static_cast<std::size_t>(record.net)];
  }
  for (PortRecord& record : ports) {
    if (record.net < 0 || record.net >= kNetValues ||
        members[static_cast<std::size_t>(record.net)] < 2) {
      record.net = GROUP_NONE;
    }
  }
  for (std::size_t i = 0; i < salvo.nets.size(); ++i) {
    int value = outcome.grows_from[i];
    for (int v = 0; value == GROUP_NONE && v < kNetValues; ++v) {
      const bool used =
          std::any_of(ports.begin(), ports.end(), [v](const PortRecord& r) { return r.net == v; });
      if (!used) value = v;
    }
    // Past eight nets the value is left out; CheckSalvo refuses the take anyway.
    for (const int port : salvo.nets[i]) {
      ports[static_cast<std::size_t>(port)].net = static_cast<std::int16_t>(value);
    }
  }
}

int count_end_nets(const SalvoOutcome& outcome, const Salvo& salvo) {
  std::array<bool, kNetValues> used{};
  for (const PortRecord& record : outcome.end.ports) {
    if (record.net >= 0 && record.net < kNetValues)
      used[static_cast<std::size_t>(record.net)] = true;
  }
  const bool unplaced = std::any_of(salvo.nets.begin(), salvo.nets.end(), [&](const auto& net) {
    return outcome.end.ports[static_cast<std::size_t>(net.front())].net == GROUP_NONE;
  });
  return static_cast<int>(std::count(used.begin(), used.end(), true)) + (unplaced ? 1 : 0);
}

std::string monitor_text(const std::vector<std::uint8_t>& list) {
  return list.empty() ? "none" : FormatMonitorList(list);
}

// A monitor list that would change, in the comparison's form of a changed setting.
std::optional<SettingChange> monitor_change(const PortRecord& now, const SalvoMonitors& wanted) {
  std::vector<std::uint8_t> held(now.monitors, now.monitors + MonitorEntries(now));
  std::vector<std::uint8_t> saved(wanted.monitored.begin(), wanted.monitored.end());
  std::sort(held.begin(), held.end());
  std::sort(saved.begin(), saved.end());
  if (held == saved) return std::nullopt;
  return SettingChange{wanted.port, "Monitors", monitor_text(held), monitor_text(saved)};
}

// The rules, one port at a time.
std::optional<Refusal> refusal_of(const SalvoOutcome& outcome, const SalvoPort& wanted,
                                  const LockOwner& lock_owner) {
  const PortRecord& now = outcome.now[static_cast<std::size_t>(wanted.port)];
  const std::string port = port_text(wanted.port);
  const std::string expected(model_name(static_cast<int>(wanted.mod_type)));
  const std::string name(now.port_name, strnlen(now.port_name, sizeof now.port_name));
  if (now.mod_type == MOD_NONE) {
    return Refusal{"no_module", port + " has no module; the salvo expects a " + expected + "."};
  }
  if (now.mod_type != wanted.mod_type) {
    return Refusal{"other_module", port + " holds a " +
                                       std::string(model_name(static_cast<int>(now.mod_type))) +
                                       "; the salvo expects a " + expected + "."};
  }
  if (name != wanted.name) {
    return Refusal{"other_name",
                   port + " is named \"" + name + "\"; the salvo expects \"" + wanted.name + "\"."};
  }
  if (const auto owner = lock_owner ? lock_owner(wanted.port) : std::nullopt) {
    return Refusal{"locked", port + " is locked by " + *owner + "."};
  }
  const bool moves =
      contains(outcome.leaving, wanted.port) || contains(outcome.joining, wanted.port);
  if (moves && now.disch_group != GROUP_NONE) {
    return Refusal{"disch_group", port + " is in a DISCH group."};
  }
  if (contains(outcome.leaving, wanted.port) && now.perm_conn != 0) {
    return Refusal{"permanent", port + " is permanently connected."};
  }
  return std::nullopt;
}

}  // namespace

SalvoOutcome ForeseeSalvo(const DeviceModel& model, const Salvo& salvo) {
  SalvoOutcome outcome;
  for (int port = 0; port < kPortCount; ++port) {
    model.GetPort(port, outcome.now[static_cast<std::size_t>(port)]);
  }
  outcome.end.ports = outcome.now;
  for (const std::vector<int>& net : salvo.nets) {
    outcome.grows_from.push_back(net_to_grow_from(outcome.now, net));
  }
  for (int port = 0; port < kPortCount; ++port) {
    const PortRecord& record = outcome.now[static_cast<std::size_t>(port)];
    const bool placed = record.bus != GROUP_NONE || record.disch_group != GROUP_NONE;
    bool leaves = placed && contains(salvo.free, port);
    for (std::size_t i = 0; i < salvo.nets.size(); ++i) {
      const bool stays = record.net != GROUP_NONE && record.net == outcome.grows_from[i];
      if (!contains(salvo.nets[i], port) || stays) continue;
      leaves = leaves || placed;
      outcome.joining.push_back(port);
    }
    if (leaves) outcome.leaving.push_back(port);
    if (leaves || contains(salvo.free, port)) {
      outcome.end.ports[static_cast<std::size_t>(port)].net = GROUP_NONE;
    }
  }
  settle_end_nets(outcome, salvo);
  return outcome;
}

std::vector<Refusal> CheckSalvo(const SalvoOutcome& outcome, const Salvo& salvo,
                                const LockOwner& lock_owner) {
  std::vector<Refusal> refusals;
  for (const SalvoPort& port : salvo.ports) {
    if (auto refusal = refusal_of(outcome, port, lock_owner)) {
      refusals.push_back(std::move(*refusal));
    }
  }
  if (count_end_nets(outcome, salvo) > kGatewayNets) {
    refusals.push_back({"too_many_nets", "The salvo would need more than 7 nets."});
  }
  return refusals;
}

SalvoPreview PreviewSalvo(const DeviceModel& model, const Salvo& salvo,
                          const LockOwner& lock_owner) {
  const SalvoOutcome outcome = ForeseeSalvo(model, salvo);
  ConfigurationChanges changes = CompareWithModel(model, outcome.end);
  for (const SalvoMonitors& wanted : salvo.monitors) {
    if (auto change = monitor_change(outcome.now[static_cast<std::size_t>(wanted.port)], wanted)) {
      changes.settings.push_back(std::move(*change));
    }
  }
  return {DescribeChanges(changes), CheckSalvo(outcome, salvo, lock_owner)};
}

std::string SalvoRefusalText(const std::vector<Refusal>& refusals) {
  std::string reasons;
  for (const Refusal& refusal : refusals) reasons += (reasons.empty() ? "" : " ") + refusal.text;
  return reasons;
}

}  // namespace mav
