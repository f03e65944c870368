#include "model/MonitorList.h"

#include "model/DeviceModel.h"

namespace mav {
namespace {

constexpr int kMaxMonitorEntries = kMonitorSlots - 1;  // one slot stays for the end mark

int FindMonitor(const PortRecord& record, int monitored) {
  const int count = MonitorEntries(record);
  for (int i = 0; i < count; ++i) {
    if (record.monitors[i] == monitored) return i;
  }
  return -1;
}

}  // namespace

int MonitorEntries(const PortRecord& record) {
  for (int i = 0; i < kMonitorSlots; ++i) {
    if (record.monitors[i] == PORT_NONE) return i;
  }
  return kMonitorSlots;
}

bool ListsMonitor(const PortRecord& record, int monitored) {
  return FindMonitor(record, monitored) >= 0;
}

bool AddMonitor(PortRecord& record, int monitored_port) {
  const int count = MonitorEntries(record);
  if (count >= kMaxMonitorEntries || monitored_port < 0 || monitored_port >= kPortCount) {
    return false;
  }
  record.monitors[count] = static_cast<std::uint8_t>(monitored_port);
  record.monitors[count + 1] = PORT_NONE;
  return true;
}

bool RemoveMonitor(PortRecord& record, int monitored_port) {
  const int index = FindMonitor(record, monitored_port);
  if (index < 0) return false;
  const int last = MonitorEntries(record) - 1;
  record.monitors[index] = record.monitors[last];
  record.monitors[last] = PORT_NONE;
  return true;
}

}  // namespace mav
