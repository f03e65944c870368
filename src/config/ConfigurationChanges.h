// What putting a saved configuration back would change on the gateway as the model holds it now:
// ports whose net would change, settings the settings writer would send, and modules missing or
// of another type, each with what the loader does about it. The operator reads it before a
// restore; the loader's own port decision (PortFit) and the writer's fields make it agree with
// what the load really does. Pure; any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/PortFit.h"
#include "model/ConfigFile.h"
#include "model/DeviceModel.h"

namespace mav {

// A port that would move to another net or leave or join one: net numbers as the operator sees
// them, GROUP_NONE for none.
struct NetChange {
  int port;
  int now_net;
  int saved_net;
};

// A setting of a restored port, with its dialog label and both values as the dialog shows them.
struct SettingChange {
  int port;
  std::string label;
  std::string now;
  std::string saved;
};

// A port whose module differs from the file's; fit is NotRestored or LoadFails.
struct ModuleChange {
  int port;
  std::uint32_t now_type;
  std::uint32_t saved_type;
  PortFit fit;
};

struct ConfigurationChanges {
  std::vector<NetChange> nets;
  std::vector<SettingChange> settings;
  std::vector<ModuleChange> modules;

  bool load_fails() const;
};

ConfigurationChanges CompareWithModel(const DeviceModel& model, const Configuration& saved);

// One line per change, for the operator; a load that would fail says so first and lists only
// the modules that stop it.
std::vector<std::string> DescribeChanges(const ConfigurationChanges& changes);

// The modules and nets a configuration holds, for a list of saved configurations.
struct ConfigurationSummary {
  int modules;
  int nets;
};
ConfigurationSummary Summarize(const Configuration& config);

}  // namespace mav
