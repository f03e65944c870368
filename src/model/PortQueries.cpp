#include "model/PortTable.h"

namespace mav::ports {
namespace {

using GroupField = std::int16_t PortRecord::*;

int CountModulesWith(ConstTable table, GroupField field, int value) {
  if (value == GROUP_NONE) return 0;
  int count = 0;
  for (const PortRecord& record : table) {
    if (IsModulePort(record) && record.*field == value) ++count;
  }
  return count;
}

// Whenever a record holds the candidate, the candidate moves on and the scan starts over from
// port 0, so a number held by an earlier port is never handed out.
int LowestFree(ConstTable table, GroupField field, int first_candidate) {
  int candidate = first_candidate;
  for (int port = 0; port < kPortCount; ++port) {
    if (table[port].*field == candidate) {
      ++candidate;
      port = -1;
    }
  }
  return candidate;
}

// The first port other than skip whose field holds value and that no DISCH group holds.
int FirstFreeWith(ConstTable table, GroupField field, int value, int skip = PORT_NONE) {
  if (value == GROUP_NONE) return PORT_NONE;
  for (int port = 0; port < kPortCount; ++port) {
    if (port != skip && table[port].*field == value && table[port].disch_group == GROUP_NONE) {
      return port;
    }
  }
  return PORT_NONE;
}

const PortRecord* FirstInNet(ConstTable table, int net) {
  if (net == GROUP_NONE) return nullptr;
  for (const PortRecord& record : table) {
    if (record.net == net) return &record;
  }
  return nullptr;
}

}  // namespace

int CountModules(ConstTable table) {
  int count = 0;
  for (const PortRecord& record : table) {
    if (IsModulePort(record)) ++count;
  }
  return count;
}

int CountOnBus(ConstTable table, int bus) {
  return CountModulesWith(table, &PortRecord::bus, bus);
}

int CountInNet(ConstTable table, int net) {
  return CountModulesWith(table, &PortRecord::net, net);
}

int LowestFreeBus(ConstTable table) {
  return LowestFree(table, &PortRecord::bus, 0);
}

int LowestFreeLink(ConstTable table) {
  return LowestFree(table, &PortRecord::bus_link, 0);
}

int LowestFreeDischGroup(ConstTable table) {
  return LowestFree(table, &PortRecord::disch_group, 0);
}

int LowestFreeNet(ConstTable table) {
  constexpr int kNetLimit = 8;  // nets are numbered 1 to 7
  const int net = LowestFree(table, &PortRecord::net, 1);
  return net < kNetLimit ? net : GROUP_NONE;
}

int BusOfNet(ConstTable table, int net) {
  const PortRecord* record = FirstInNet(table, net);
  return record != nullptr ? record->bus : GROUP_NONE;
}

int LinkOfNet(ConstTable table, int net) {
  const PortRecord* record = FirstInNet(table, net);
  return record != nullptr ? record->bus_link : GROUP_NONE;
}

int LinkOfBus(ConstTable table, int bus) {
  if (bus == GROUP_NONE) return GROUP_NONE;
  for (const PortRecord& record : table) {
    if (record.bus == bus && record.bus_link != GROUP_NONE) return record.bus_link;
  }
  return GROUP_NONE;
}

int FirstFreePortOfNet(ConstTable table, int net) {
  return FirstFreeWith(table, &PortRecord::net, net);
}

// A partner on the port's own bus first, else one along the bus's link.
int FindPartner(ConstTable table, int port) {
  if (!IsPort(port) || table[port].bus == GROUP_NONE) return PORT_NONE;
  const int on_bus = FirstFreeWith(table, &PortRecord::bus, table[port].bus, port);
  if (on_bus != PORT_NONE) return on_bus;
  return FirstFreeWith(table, &PortRecord::bus_link, table[port].bus_link, port);
}

int OtherGroupMember(ConstTable table, int port) {
  if (!IsPort(port) || table[port].disch_group == GROUP_NONE) return -1;
  int member = -1;
  for (int other = 0; other < kPortCount; ++other) {
    if (other == port || !IsModulePort(table[other])) continue;
    if (table[other].disch_group != table[port].disch_group) continue;
    if (member != -1) return -1;  // more than one: no single partner to name
    member = other;
  }
  return member;
}

}  // namespace mav::ports
