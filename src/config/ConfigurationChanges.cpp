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

// The other ports sharing a port's net; empty when it is in none.
std::vector<int> partners(const Ports& ports, int port) {
  std::vector<int> found;
  const std::int16_t net = ports[static_cast<std::size_t>(port)].net;
  if (net == GROUP_NONE) return found;
  for (int other = 0; other < kPortCount; ++other) {
    if (other != port && ports[static_cast<std::size_t>(other)].net == net) found.push_back(other);
  }
  return found;
}

// Renumbering after the load may give a net another number: only a change of partners counts.
void compare_nets(const Ports& now, const Ports& saved, ConfigurationChanges& changes) {
  for (int port = 0; port < kPortCount; ++port) {
    if (partners(now, port) == partners(saved, port)) continue;
    changes.nets.push_back(
        {port, now[static_cast<std::size_t>(port)].net, saved[static_cast<std::size_t>(port)].net});
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
  std::array<bool, 8> nets{};
  for (const PortRecord& port : config.ports) {
    if (port.mod_type == MOD_NONE) continue;
    ++summary.modules;
    if (port.net >= 0 && port.net < static_cast<int>(nets.size())) {
      nets[static_cast<std::size_t>(port.net)] = true;
    }
  }
  summary.nets = static_cast<int>(std::count(nets.begin(), nets.end(), true));
  return summary;
}

}  // namespace mav
