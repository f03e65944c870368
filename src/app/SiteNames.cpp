#include "app/SiteNames.h"
#include "model/TextField.h"

#include <cstdio>
#include <cstring>

namespace mav {
namespace {

const char* short_module_name(std::uint32_t mod_type) {
  switch (mod_type) {
    case MOD_TOV5:
      return "TOV-5";
    case MOD_MEK4:
      return "MEK";
    case MOD_LINE7:
      return "LINE-7";
    case MOD_VOQ3:
      return "VOQ";
    case MOD_HK6:
      return "HK-6";
    default:
      return "???";
  }
}

const char* full_module_name(std::uint32_t mod_type) {
  switch (mod_type) {
    case MOD_TOV5:
      return "TOV-5";
    case MOD_MEK4:
      return "MEK-4";
    case MOD_LINE7:
      return "LINE-7";
    case MOD_VOQ3:
      return "VOQ-3";
    case MOD_HK6:
      return "HK-6";
    default:
      return "???";
  }
}

}  // namespace

bool capture_port_entries(const DeviceModel& model, SiteRecord& record) {
  if (model.CountModules() == 0) return false;
  for (int p = 0; p < kPortCount; ++p) {
    PortRecord port{};
    if (!model.GetPort(p, port) || port.mod_type == MOD_NONE) {
      record.icon_color[p] = kNoIconEntry;
      continue;
    }
    record.icon_color[p] = port.icon_color;
    std::memcpy(record.port_name[p], port.port_name, kTextFieldSize);
    if (port.icon_preset == 0) {
      std::memcpy(record.icon_path[p], port.icon_path, kTextFieldSize);
    } else {
      record.icon_path[p][0] = '\0';
    }
  }
  return true;
}

void apply_port_entries(DeviceModel& model, const SiteRecord& record,
                        const CustomIconLoader& load_icon) {
  for (int p = 0; p < kPortCount; ++p) {
    PortRecord port{};
    if (!model.GetPort(p, port) || port.mod_type == MOD_NONE) continue;
    if (record.icon_color[p] == kNoIconEntry) {
      StoreText(port.port_name, short_module_name(port.mod_type));
      port.icon_preset = 1;
      port.icon_color = 0;
    } else {
      port.icon_color = record.icon_color[p];
      port.icon_preset = record.icon_path[p][0] == '\0' ? 1 : 0;
      std::memcpy(port.icon_path, record.icon_path[p], kTextFieldSize);
      std::memcpy(port.port_name, record.port_name[p], kTextFieldSize);
      TerminateText(port.icon_path);
      TerminateText(port.port_name);
      if (port.icon_preset == 0) {
        port.icon_id = load_icon ? load_icon(port.icon_path, port.icon_id) : -1;
        if (port.icon_id == -1) port.icon_preset = 1;
      }
    }
    model.Update(p, [&port](PortRecord& q) { CopyUserFields(q, port); });
  }
}

void apply_default_port_names(DeviceModel& model) {
  for (int p = 0; p < kPortCount; ++p) {
    PortRecord port{};
    if (!model.GetPort(p, port)) continue;
    StoreText(port.port_name, full_module_name(port.mod_type));
    port.icon_preset = 1;
    port.icon_color = 0;
    model.Update(p, [&port](PortRecord& q) { CopyUserFields(q, port); });
  }
}

}  // namespace mav
