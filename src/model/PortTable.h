// The port-table algorithms as plain functions over the 26 records, without any locking. The
// DeviceModel holds its mutex around each call; they also let one locked operation (such as
// RenumberNets) use the queries without re-entering the lock. Any thread, on a table it owns.
#pragma once

#include <cstdint>
#include <span>

#include "model/PortRecord.h"

namespace mav::ports {

using Table = std::span<PortRecord, kPortCount>;
using ConstTable = std::span<const PortRecord, kPortCount>;

inline bool IsPort(int port) {
  return port >= 0 && port < kPortCount;
}
inline bool IsModulePort(const PortRecord& record) {
  return record.mod_type != MOD_NONE;
}

int CountModules(ConstTable table);
int CountOnBus(ConstTable table, int bus);
int CountInNet(ConstTable table, int net);

// Smallest number (from 0, or 1 for nets) that no record holds; the net search answers
// GROUP_NONE once all seven nets are taken.
int LowestFreeBus(ConstTable table);
int LowestFreeLink(ConstTable table);
int LowestFreeNet(ConstTable table);
int LowestFreeDischGroup(ConstTable table);

int BusOfNet(ConstTable table, int net);
int LinkOfNet(ConstTable table, int net);
int LinkOfBus(ConstTable table, int bus);
int FirstFreePortOfNet(ConstTable table, int net);
int FindPartner(ConstTable table, int port);
int OtherGroupMember(ConstTable table, int port);

void RenumberNets(Table table);

}  // namespace mav::ports
