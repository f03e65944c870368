#include "protocol/BusOperations.h"

#include <cstdio>

#include "model/MonitorList.h"

namespace mav {
namespace {

void send_disc(LineSender& sender, int port) {
  char line[32];
  std::snprintf(line, sizeof line, "DISC %.2d\r", port);
  sender.send_line(line, true);
}

void clear_link_everywhere(DeviceModel& model, int link) {
  for (int p = 0; p < kPortCount; ++p) {
    model.Update(p, [link](PortRecord& q) {
      if (q.bus_link == link) q.bus_link = GROUP_NONE;
    });
  }
}

// After a release left a lone port: a link whose remaining members all sit on one bus no longer
// joins two buses and disappears.
void drop_single_bus_link(DeviceModel& model, int link) {
  if (link == GROUP_NONE) return;
  int members = 0;
  int bus = GROUP_NONE;
  PortRecord record;
  for (int p = 0; p < kPortCount; ++p) {
    model.GetPort(p, record);
    if (record.bus_link != link) continue;
    if (members > 0 && record.bus != bus) return;
    bus = record.bus;
    ++members;
  }
  if (members == 0) return;
  clear_link_everywhere(model, link);
}

// The only port still holding a group value, or -1 when none or several do.
int lone_holder(const DeviceModel& model, std::int16_t PortRecord::*field, int value) {
  int holder = -1;
  PortRecord record;
  for (int p = 0; p < kPortCount; ++p) {
    model.GetPort(p, record);
    if (record.*field != value) continue;
    if (holder >= 0) return -1;
    holder = p;
  }
  return holder;
}

}  // namespace

void ReleasePort(DeviceModel& model, LineSender& sender, int port, bool mark_on_hook) {
  PortRecord record;
  if (!model.GetPort(port, record)) return;
  const int old_bus = record.bus;
  const int old_link = record.bus_link;
  const int old_group = record.disch_group;
  model.Update(port, [mark_on_hook](PortRecord& q) {
    q.bus = GROUP_NONE;
    q.bus_link = GROUP_NONE;
    q.disch_group = GROUP_NONE;
    q.perm_conn = 0;
    if (mark_on_hook) q.settings.on_hook = 1;
  });

  if (old_group != GROUP_NONE) {
    const int last = lone_holder(model, &PortRecord::disch_group, old_group);
    if (last >= 0) model.Update(last, [](PortRecord& q) { q.disch_group = GROUP_NONE; });
  }

  if (old_bus == GROUP_NONE) return;
  const int lone = lone_holder(model, &PortRecord::bus, old_bus);
  if (lone < 0) return;
  // A linked lone port is still joined at the gateway and is disconnected there.
  bool linked = false;
  model.Update(lone, [&linked](PortRecord& q) {
    linked = q.disch_group == GROUP_NONE && q.bus_link != GROUP_NONE;
    q.perm_conn = 0;
    q.bus = GROUP_NONE;
    if (q.disch_group != GROUP_NONE || linked) q.bus_link = GROUP_NONE;
  });
  if (linked) send_disc(sender, lone);
  drop_single_bus_link(model, old_link);
}

void DissolveBus(DeviceModel& model, LineSender& sender, int bus, int keep_port) {
  if (bus == GROUP_NONE) return;
  const int link = model.LinkOfBus(bus);
  int to_disconnect = -1;
  for (int p = 0; p < kPortCount; ++p) {
    bool on_bus = false;
    model.Update(p, [bus, &on_bus](PortRecord& q) {
      on_bus = q.bus == bus;
      if (!on_bus) return;
      q.bus = GROUP_NONE;
      q.bus_link = GROUP_NONE;
    });
    if (on_bus && p != keep_port) to_disconnect = p;
  }
  if (link == GROUP_NONE) return;
  if (keep_port >= 0 && to_disconnect >= 0) send_disc(sender, to_disconnect);
  int linked_buses = 0;
  for (int b = 0; b <= 6; ++b) {
    if (model.LinkOfBus(b) == link) ++linked_buses;
  }
  if (linked_buses == 1) clear_link_everywhere(model, link);
}

bool SetMonitor(DeviceModel& model, EventLog& log, int port, int other, bool on) {
  bool changed = false;
  model.Update(port, [&](PortRecord& q) {
    if (ListsMonitor(q, other) == on) return;
    changed = on ? AddMonitor(q, other) : RemoveMonitor(q, other);
  });
  if (!changed) return false;
  char entry[64];
  std::snprintf(entry, sizeof entry,
                on ? "%.2d began monitoring %.2d" : "%.2d stopped monitoring %.2d", port, other);
  log.write_log_entry(entry);
  return true;
}

}  // namespace mav
