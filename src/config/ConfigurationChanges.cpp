#include "config/ConfigurationChanges.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "model/SettingsFields.h"
#include "modules/ModuleSettingsTable.h"
#include "protocol/ModelNames.h"
#include "vocabulary/Vocabulary.h"

namespace mav {
namespace {

using Ports = std::array<PortRecord, kPortCount>;

constexpr int kNetValues = 8;  // the loader joins saved nets 0..7

// The net a port ends up in: one of 0..7 shared with at least one other port, else GROUP_NONE
// (a lone port is its net's anchor with nothing joined to it).
std::array<int, kPortCount> effective_nets(const Ports& ports) {
  std::array<int, kNetValues> members{};
  for (const PortRecord& record : ports) {
    if (record.net >= 0 && record.net < kNetValues) ++members[static_cast<std::size_t>(record.net)];
  }
  std::array<int, kPortCount> nets;
  for (int port = 0; port < kPortCount; ++port) {
    const int net = ports[static_cast<std::size_t>(port)].net;
    const bool joined = net >= 0 && net < kNetValues && members[static_cast<std::size_t>(net)] > 1;
    nets[static_cast<std::size_t>(port)] = joined ? net : GROUP_NONE;
  }
  return nets;
}

// The gateway numbers the rebuilt nets itself, so a saved net is known by the current net it
// shares the most ports with; a net that only gains or loses ports keeps its number and just the
// ports that move are reported. A saved net sharing no port takes the lowest number no current
// net uses.
std::array<int, kNetValues> number_saved_nets(const std::array<int, kPortCount>& now,
                                              const std::array<int, kPortCount>& saved) {
  std::array<std::array<int, kNetValues>, kNetValues> shared{};
  std::array<bool, kNetValues> taken{};
  std::array<bool, kNetValues> in_file{};
  for (int port = 0; port < kPortCount; ++port) {
    const int n = now[static_cast<std::size_t>(port)];
    const int s = saved[static_cast<std::size_t>(port)];
    if (n != GROUP_NONE) taken[static_cast<std::size_t>(n)] = true;
    if (s != GROUP_NONE) in_file[static_cast<std::size_t>(s)] = true;
    if (n != GROUP_NONE && s != GROUP_NONE) {
      ++shared[static_cast<std::size_t>(s)][static_cast<std::size_t>(n)];
    }
  }
  std::array<int, kNetValues> number;
  std::array<bool, kNetValues> matched{};
  for (int s = 0; s < kNetValues; ++s) {
    const auto& row = shared[static_cast<std::size_t>(s)];
    int best = GROUP_NONE;
    for (int n = 0; n < kNetValues; ++n) {
      if (row[static_cast<std::size_t>(n)] == 0 || matched[static_cast<std::size_t>(n)]) continue;
      if (best == GROUP_NONE ||
          row[static_cast<std::size_t>(n)] > row[static_cast<std::size_t>(best)]) {
        best = n;
      }
    }
    if (best != GROUP_NONE) matched[static_cast<std::size_t>(best)] = true;
    number[static_cast<std::size_t>(s)] = best;
  }
  for (int s = 0; s < kNetValues; ++s) {
    if (!in_file[static_cast<std::size_t>(s)] ||
        number[static_cast<std::size_t>(s)] != GROUP_NONE) {
      continue;
    }
    const auto free = std::find(taken.begin() + 1, taken.end(), false);
    number[static_cast<std::size_t>(s)] =
        free == taken.end() ? s : static_cast<int>(free - taken.begin());
    if (free != taken.end()) *free = true;
  }
  return number;
}

void compare_nets(const Ports& now_ports, const Ports& saved_ports, ConfigurationChanges& changes) {
  const std::array<int, kPortCount> now = effective_nets(now_ports);
  const std::array<int, kPortCount> saved = effective_nets(saved_ports);
  const std::array<int, kNetValues> number = number_saved_nets(now, saved);
  for (int port = 0; port < kPortCount; ++port) {
    const int from = now[static_cast<std::size_t>(port)];
    const int s = saved[static_cast<std::size_t>(port)];
    const int to = s == GROUP_NONE ? GROUP_NONE : number[static_cast<std::size_t>(s)];
    if (from != to) changes.nets.push_back({port, from, to});
  }
}

const SettingRow* row_of_keyword(const ModuleTable& table, int keyword) {
  const auto row = std::find_if(table.rows.begin(), table.rows.end(),
                                [keyword](const SettingRow& r) { return r.keyword == keyword; });
  return row == table.rows.end() ? nullptr : &*row;
}

// The entry the dialog would show, or the plain number when it shows none.
std::string value_text(const SettingRow* row, std::uint32_t value) {
  if (row != nullptr) {
    if (const auto position = shown_position(*row, value)) {
      return std::string(row->choices[static_cast<std::size_t>(*position)].label);
    }
  }
  return std::to_string(value);
}

// The fields the settings writer compares, in its order: exactly those it would send.
void compare_settings(int port, const PortRecord& now, const PortRecord& saved,
                      ConfigurationChanges& changes) {
  const ModuleTable* table = module_table(saved.mod_type);
  if (table == nullptr) return;
  for (const int keyword : table->send_order) {
    const std::uint32_t wanted = read_setting(saved.settings, keyword).value_or(0);
    const auto held = read_setting(now.settings, keyword);
    if (held == wanted) continue;
    const SettingRow* row = row_of_keyword(*table, keyword);
    changes.settings.push_back({port,
                                row ? std::string(row->label) : std::string(keyword_text(keyword)),
                                value_text(row, held.value_or(0)), value_text(row, wanted)});
  }
}

std::string port_text(int port) {
  char text[16];
  std::snprintf(text, sizeof text, "Port %.2d", port);
  return text;
}

std::string net_text(int net) {
  return net == GROUP_NONE ? "no net" : "Net " + std::to_string(net);
}

std::string module_text(std::uint32_t mod_type) {
  const std::string_view name = model_name(static_cast<int>(mod_type));
  return name.empty() ? "no module" : std::string(name);
}

std::string describe(const ModuleChange& change) {
  return port_text(change.port) + ": " + module_text(change.now_type) + " in the gateway, " +
         module_text(change.saved_type) +
         " in the file: " + (change.fit == PortFit::LoadFails ? "load would fail" : "not restored");
}

}  // namespace

bool ConfigurationChanges::load_fails() const {
  return std::any_of(modules.begin(), modules.end(),
                     [](const ModuleChange& m) { return m.fit == PortFit::LoadFails; });
}

ConfigurationChanges CompareWithModel(const DeviceModel& model, const Configuration& saved) {
  Ports now{};
  for (int port = 0; port < kPortCount; ++port) {
    model.GetPort(port, now[static_cast<std::size_t>(port)]);
  }
  ConfigurationChanges changes;
  compare_nets(now, saved.ports, changes);
  for (int port = 0; port < kPortCount; ++port) {
    const PortRecord& current = now[static_cast<std::size_t>(port)];
    const PortRecord& wanted = saved.ports[static_cast<std::size_t>(port)];
    const PortFit fit = FitOfPort(current, wanted);
    if (fit == PortFit::Restored) {
      compare_settings(port, current, wanted, changes);
    } else if (current.mod_type != MOD_NONE || wanted.mod_type != MOD_NONE) {
      changes.modules.push_back({port, current.mod_type, wanted.mod_type, fit});
    }
  }
  return changes;
}

std::vector<std::string> DescribeChanges(const ConfigurationChanges& changes) {
  std::vector<std::string> lines;
  if (changes.load_fails()) {
    lines.emplace_back("The load would fail: nothing would change.");
    for (const ModuleChange& change : changes.modules) {
      if (change.fit == PortFit::LoadFails) lines.push_back(describe(change));
    }
    return lines;
  }
  for (const NetChange& change : changes.nets) {
    lines.push_back(port_text(change.port) + ": " + net_text(change.now_net) + " -> " +
                    net_text(change.saved_net));
  }
  for (const SettingChange& change : changes.settings) {
    lines.push_back(port_text(change.port) + " " + change.label + ": " + change.now + " -> " +
                    change.saved);
  }
  for (const ModuleChange& change : changes.modules) lines.push_back(describe(change));
  if (lines.empty()) lines.emplace_back("No changes.");
  return lines;
}

ConfigurationSummary Summarize(const Configuration& config) {
  ConfigurationSummary summary{0, 0};
  for (const PortRecord& port : config.ports) {
    if (port.mod_type != MOD_NONE) ++summary.modules;
  }
  std::array<bool, kNetValues> nets{};
  for (const int net : effective_nets(config.ports)) {
    if (net != GROUP_NONE) nets[static_cast<std::size_t>(net)] = true;
  }
  summary.nets = static_cast<int>(std::count(nets.begin(), nets.end(), true));
  return summary;
}

}  // namespace mav
