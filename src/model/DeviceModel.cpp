#include "model/DeviceModel.h"

#include <cstring>

#include "model/MonitorList.h"
#include "model/PortTable.h"
#include "model/SettingsFields.h"
#include "vocabulary/Vocabulary.h"

namespace mav {
namespace {

constexpr std::uint32_t kFormatVersion = 7;

void ResetRecord(PortRecord& record, bool keep_user_fields) {
  record.mod_type = MOD_NONE;
  record.bus = GROUP_NONE;
  record.bus_link = GROUP_NONE;
  record.disch_group = GROUP_NONE;
  record.monitors[0] = PORT_NONE;
  reset_settings(record.settings);
  record.cor_active = 0;
  record.ptt_active = 0;
  record.disch_step = 0;
  record.connect_step = 0;
  record.pending_partner = PORT_NONE;
  record.pending_bus = GROUP_NONE;
  if (keep_user_fields) return;
  std::memset(record.port_name, 0, sizeof record.port_name);
  std::memset(record.icon_path, 0, sizeof record.icon_path);
  record.icon_color = 0;  // gray
  record.icon_preset = 1;
  record.icon_id = -1;
}

}  // namespace

DeviceModel::DeviceModel() {
  // Fields a reset leaves alone (net, perm_conn, ring_active, the kept settings) start at zero.
  std::memset(ports_, 0, sizeof ports_);
  for (PortRecord& record : ports_) record.net = GROUP_NONE;
  Reset(false);
}

void DeviceModel::Reset(bool keep_user_fields) {
  std::lock_guard lock(mutex_);
  format_version_ = kFormatVersion;
  for (PortRecord& record : ports_) ResetRecord(record, keep_user_fields);
}

std::uint32_t DeviceModel::format_version() const {
  std::lock_guard lock(mutex_);
  return format_version_;
}

bool DeviceModel::GetPort(int port, PortRecord& out) const {
  if (!ports::IsPort(port)) return false;
  std::lock_guard lock(mutex_);
  out = ports_[port];
  return true;
}

bool DeviceModel::SetPort(int port, const PortRecord& in) {
  if (!ports::IsPort(port)) return false;
  std::lock_guard lock(mutex_);
  ports_[port] = in;
  return true;
}

int DeviceModel::CountModules() const {
  std::lock_guard lock(mutex_);
  return ports::CountModules(ports_);
}

bool DeviceModel::HasModule(int port) const {
  if (!ports::IsPort(port)) return false;
  std::lock_guard lock(mutex_);
  return ports::IsModulePort(ports_[port]);
}

bool DeviceModel::AnyModuleInUpperHalf() const {
  constexpr int kFirstUpperPort = 13;
  std::lock_guard lock(mutex_);
  for (int port = kFirstUpperPort; port < kPortCount; ++port) {
    if (ports::IsModulePort(ports_[port])) return true;
  }
  return false;
}

int DeviceModel::LowestFreeBus() const {
  std::lock_guard lock(mutex_);
  return ports::LowestFreeBus(ports_);
}

int DeviceModel::LowestFreeLink() const {
  std::lock_guard lock(mutex_);
  return ports::LowestFreeLink(ports_);
}

int DeviceModel::LowestFreeNet() const {
  std::lock_guard lock(mutex_);
  return ports::LowestFreeNet(ports_);
}

int DeviceModel::LowestFreeDischGroup() const {
  std::lock_guard lock(mutex_);
  return ports::LowestFreeDischGroup(ports_);
}

int DeviceModel::CountOnBus(int bus) const {
  std::lock_guard lock(mutex_);
  return ports::CountOnBus(ports_, bus);
}

int DeviceModel::CountInNet(int net) const {
  std::lock_guard lock(mutex_);
  return ports::CountInNet(ports_, net);
}

int DeviceModel::BusOfNet(int net) const {
  std::lock_guard lock(mutex_);
  return ports::BusOfNet(ports_, net);
}

int DeviceModel::LinkOfNet(int net) const {
  std::lock_guard lock(mutex_);
  return ports::LinkOfNet(ports_, net);
}

int DeviceModel::LinkOfBus(int bus) const {
  std::lock_guard lock(mutex_);
  return ports::LinkOfBus(ports_, bus);
}

int DeviceModel::FirstFreePortOfNet(int net) const {
  std::lock_guard lock(mutex_);
  return ports::FirstFreePortOfNet(ports_, net);
}

int DeviceModel::FindPartner(int port) const {
  std::lock_guard lock(mutex_);
  return ports::FindPartner(ports_, port);
}

int DeviceModel::OtherGroupMember(int port) const {
  std::lock_guard lock(mutex_);
  return ports::OtherGroupMember(ports_, port);
}

bool DeviceModel::IsMonitoring(int port, int other) const {
  if (!ports::IsPort(port)) return false;
  std::lock_guard lock(mutex_);
  return ListsMonitor(ports_[port], other);
}

int DeviceModel::MonitorCount(int port) const {
  if (!ports::IsPort(port)) return 0;
  std::lock_guard lock(mutex_);
  return MonitorEntries(ports_[port]);
}

void DeviceModel::RenumberNets() {
  std::lock_guard lock(mutex_);
  ports::RenumberNets(ports_);
}

void DeviceModel::ClearCorBits() {
  std::lock_guard lock(mutex_);
  for (PortRecord& record : ports_) record.cor_active = 0;
}

void DeviceModel::ClearPttBits() {
  std::lock_guard lock(mutex_);
  for (PortRecord& record : ports_) record.ptt_active = 0;
}

bool DeviceModel::SetSetting(int port, int keyword, std::uint32_t value) {
  if (!ports::IsPort(port)) return false;
  // The gateway reports the dialling mode as a value word; the record holds 1 for tone dialling.
  if (keyword == kw::DIAL_MODE) value = (value == vw::DTMF) ? 1u : 0u;
  std::lock_guard lock(mutex_);
  return store_setting(ports_[port].settings, keyword, value);
}

void StoreConnection(DeviceModel& model, int port, const PortRecord& from) {
  model.Update(port, [&from](PortRecord& record) {
    record.bus = from.bus;
    record.bus_link = from.bus_link;
    record.disch_group = from.disch_group;
    record.perm_conn = from.perm_conn;
    record.disch_step = from.disch_step;
    record.connect_step = from.connect_step;
    record.pending_partner = from.pending_partner;
    record.pending_bus = from.pending_bus;
  });
}

void CopyUserFields(PortRecord& to, const PortRecord& from) {
  std::memcpy(to.port_name, from.port_name, sizeof to.port_name);
  std::memcpy(to.icon_path, from.icon_path, sizeof to.icon_path);
  to.icon_color = from.icon_color;
  to.icon_preset = from.icon_preset;
  to.icon_id = from.icon_id;
}

}  // namespace mav
