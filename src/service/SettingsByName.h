// A module's settings as the control protocol names them: each field of the module's table under
// its keyword's name, in the order the settings writer sends them. The service answers
// settings.get with them and a console sends them back in settings.set. Any thread.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "model/PortRecord.h"
#include "modules/ModuleSettingsTable.h"

namespace mav {

using NamedSettings = std::vector<std::pair<std::string, std::int64_t>>;

NamedSettings settings_by_name(const ModuleTable& table, const ModuleSettings& settings);

// Stores each named field the module has, with a value its field holds. The first field that is
// not one of them (the others are stored still); nullptr when every one was stored.
const NamedSettings::value_type* store_by_name(const ModuleTable& table, const NamedSettings& named,
                                               ModuleSettings& settings);

}  // namespace mav
