// Moving the operator's port names and icons between the device model and a site record.
// Any thread (the model takes its own lock per record).
#pragma once

#include <functional>
#include <string>

#include "app/SiteRecord.h"
#include "model/DeviceModel.h"

namespace mav {

// Loads a custom icon bitmap for a port, replacing the port's previous icon id; the new icon id,
// or -1 when the file cannot be loaded.
using CustomIconLoader = std::function<int(const std::string& path, int previous_icon_id)>;

// Fills the record's per-port entries from the model: a port without a module gets icon colour
// 255. False, leaving the record alone, when no port holds a module.
bool capture_port_entries(const DeviceModel& model, SiteRecord& record);

// Gives every fitted port its stored name and icon; a port stored without an entry gets its
// module's short name and the preset icon. A custom icon that cannot be loaded falls back to the
// preset icon. `load_icon` may be empty: custom icons then stay unloaded.
void apply_port_entries(DeviceModel& model, const SiteRecord& record,
                        const CustomIconLoader& load_icon);

// No stored record: every port gets its module's full model name and the preset icon.
void apply_default_port_names(DeviceModel& model);

}  // namespace mav
