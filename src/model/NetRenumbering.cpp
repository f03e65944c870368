#include <array>

#include "model/PortTable.h"

namespace mav::ports {
namespace {

// The gateway's buses all fit in this map; a bus number beyond it can only come from a damaged
// record and is treated as no bus at all.
constexpr int kBusMapSize = 30;
using BusToNet = std::array<std::int16_t, kBusMapSize>;

bool HasBus(const PortRecord& record) {
  return record.bus != GROUP_NONE;
}

// Steps 1 and 2: a port without a usable bus is in no net and no link.
void ClearPortsWithoutBus(Table table) {
  for (PortRecord& record : table) {
    if (record.bus < 0 || record.bus >= kBusMapSize) record.bus = GROUP_NONE;
    if (!HasBus(record)) {
      record.net = GROUP_NONE;
      record.bus_link = GROUP_NONE;
    }
  }
}

// Each bus keeps the lowest net any of its ports already carries.
BusToNet LowestNetPerBus(ConstTable table) {
  BusToNet map;
  map.fill(GROUP_NONE);
  for (const PortRecord& record : table) {
    if (!HasBus(record) || record.net == GROUP_NONE) continue;
    std::int16_t& entry = map[static_cast<std::size_t>(record.bus)];
    if (entry == GROUP_NONE || record.net < entry) entry = record.net;
  }
  return map;
}

// A bus whose ports have no net yet opens the lowest free one; every port then takes its bus's
// net, which merges the nets of one bus into the lowest.
void NumberBuses(Table table, BusToNet& map) {
  for (PortRecord& record : table) {
    if (!HasBus(record) || record.net != GROUP_NONE) continue;
    std::int16_t& entry = map[static_cast<std::size_t>(record.bus)];
    if (entry == GROUP_NONE) {
      entry = static_cast<std::int16_t>(LowestFreeNet(table));
    }
    record.net = entry;
  }
  for (PortRecord& record : table) {
    if (HasBus(record)) record.net = map[static_cast<std::size_t>(record.bus)];
  }
}

// A module alone on its bus hears nobody: it leaves the bus, unless a link joins it to another
// bus, which it then joins.
void DissolveLoneBuses(Table table) {
  for (PortRecord& record : table) {
    if (!IsModulePort(record) || !HasBus(record) || CountOnBus(table, record.bus) != 1) continue;
    record.bus = GROUP_NONE;
    if (record.bus_link == GROUP_NONE) continue;
    for (const PortRecord& other : table) {
      if (HasBus(other) && other.bus_link == record.bus_link) {
        record.bus = other.bus;
        break;
      }
    }
  }
}

// A net of one module is no net. Answers whether any number was taken away.
bool DropLoneNets(Table table) {
  bool changed = false;
  for (PortRecord& record : table) {
    if (IsModulePort(record) && record.net != GROUP_NONE && CountInNet(table, record.net) == 1) {
      record.net = GROUP_NONE;
      changed = true;
    }
  }
  return changed;
}

}  // namespace

void RenumberNets(Table table) {
  // Consistent tables settle within a few passes. A damaged one (a linked bus held only by a
  // port without a module) can take a net away on every pass; the bound keeps that from hanging
  // the caller.
  constexpr int kMaxPasses = 4 * kPortCount;
  for (int pass = 0; pass < kMaxPasses; ++pass) {
    ClearPortsWithoutBus(table);
    BusToNet map = LowestNetPerBus(table);
    NumberBuses(table, map);
    DissolveLoneBuses(table);
    if (!DropLoneNets(table)) return;
  }
}

}  // namespace mav::ports
