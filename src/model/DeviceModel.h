// The program's picture of the gateway: one PortRecord per port. Readers work on copies; writers
// change only the fields they name, under the lock (Update), so the worker's reply handlers and
// the user-interface thread never store back each other's fields from a stale copy. One mutex is
// held for each record transfer, update, setter and query scan, never while calling out (sending,
// icon decoding); any thread may call any member.
#pragma once

#include <cstdint>
#include <mutex>

#include "model/PortRecord.h"

namespace mav {

class DeviceModel {
 public:
  DeviceModel();  // runs Reset(false)

  // Back to "no module known". keep_user_fields keeps port names and icons (a changed module
  // line-up); false clears them too (program start, channel closed). net, perm_conn and
  // ring_active are left alone: RenumberNets clears the nets of ports without a bus.
  void Reset(bool keep_user_fields);
  std::uint32_t format_version() const;

  // Whole-record transfer; false and nothing copied for a port outside 0..25.
  bool GetPort(int port, PortRecord& out) const;
  bool SetPort(int port, const PortRecord& in);

  // Applies change(record) to the stored record under the lock. change names the fields it
  // changes and must not call the model. False, changing nothing, for a port outside 0..25.
  template <typename Change>
  bool Update(int port, Change&& change) {
    if (port < 0 || port >= kPortCount) return false;
    std::lock_guard lock(mutex_);
    change(ports_[port]);
    return true;
  }

  // Queries, each scanning ports 0..25 in ascending order.
  int CountModules() const;
  bool HasModule(int port) const;
  bool AnyModuleInUpperHalf() const;
  int LowestFreeBus() const;
  int LowestFreeLink() const;
  int LowestFreeNet() const;  // 1..7, or GROUP_NONE when all seven are in use
  int LowestFreeDischGroup() const;
  int CountOnBus(int bus) const;
  int CountInNet(int net) const;
  int BusOfNet(int net) const;
  int LinkOfNet(int net) const;
  int LinkOfBus(int bus) const;           // first link held on that bus, or GROUP_NONE
  int FirstFreePortOfNet(int net) const;  // PORT_NONE when none
  int FindPartner(int port) const;        // PORT_NONE when none
  int OtherGroupMember(int port) const;   // -1 when none or more than one
  bool IsMonitoring(int port, int other) const;
  int MonitorCount(int port) const;

  // Keeps every net consistent with the bus assignment; repeats until stable.
  void RenumberNets();
  void ClearCorBits();
  void ClearPttBits();

  // The setter named after a received settings keyword (a kw:: index): stores the low byte, or
  // the whole value for CALLING_TIME and SQUELCH_TYPE. DIAL_MODE stores 1 for the value word
  // "DTMF" and 0 otherwise. False, storing nothing, for a port outside 0..25 or a keyword that
  // is no settings field.
  bool SetSetting(int port, int keyword, std::uint32_t value);

 private:
  mutable std::mutex mutex_;
  std::uint32_t format_version_ = 7;
  PortRecord ports_[kPortCount];
};

// Monitor-list rules, applied to a record copy. Adding appends before the end mark (false when
// the list is full or monitored_port is no port); removing moves the last entry into the
// removed entry's place (false when the port is not in the list).
bool AddMonitor(PortRecord& record, int monitored_port);
bool RemoveMonitor(PortRecord& record, int monitored_port);

// Stores the fields a connection change decides (groups, permanence, the waiting steps, partner
// and pending bus) from a worked copy; names, icons, settings and indicators stay as stored.
void StoreConnection(DeviceModel& model, int port, const PortRecord& from);

// Copies the operator's own fields (port name, icon colour, kind, handle and path) of a record.
void CopyUserFields(PortRecord& to, const PortRecord& from);

}  // namespace mav
