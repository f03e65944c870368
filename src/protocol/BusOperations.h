// Connection changes that span several port records: releasing a port from its groups,
// dissolving a bus and changing a monitor relation. They work through whole-record transfers of
// the DeviceModel and may send the "DISC" that keeps the gateway's view of a half-left link in
// step. Worker thread (reply handlers) and UI thread (configuration loading); never both at once
// on the same ports.
#pragma once

#include "link/LineSender.h"
#include "log/EventLog.h"
#include "model/DeviceModel.h"

namespace mav {

// Takes one port out of its bus, link and DISCH group (and its permanent mark), marking it on
// hook when asked. A group or bus left with a single member is dissolved too; a lone port still
// linked to another bus is disconnected with "DISC %.2d\r". Nothing for a port outside 0..25.
void ReleasePort(DeviceModel& model, LineSender& sender, int port, bool mark_on_hook);

// Frees a bus: every port on it loses bus and link. When the bus was linked and keep_port is a
// port (not -1), the last other port of the bus is disconnected with "DISC %.2d\r"; a link left
// joining a single bus is cleared everywhere. Nothing for GROUP_NONE.
void DissolveBus(DeviceModel& model, LineSender& sender, int bus, int keep_port);

// Adds (on) or removes one monitor relation and logs it. False when nothing changed (already
// so, a port outside 0..25, or a full list).
bool SetMonitor(DeviceModel& model, EventLog& log, int port, int other, bool on);

}  // namespace mav
