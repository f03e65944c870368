// The net-change report that ends every connection change: every port's net is noted before the
// change; afterwards the nets are renumbered and each port whose net changed slides to its new
// row, or the matrix is repainted when none did. Used by the reply handlers and by the operator's
// local moves. Any thread.
#pragma once

#include <array>
#include <cstdint>

#include "frontend/Frontend.h"
#include "model/DeviceModel.h"

namespace mav {

using NetSnapshot = std::array<std::int16_t, kPortCount>;

NetSnapshot snapshot_nets(const DeviceModel& model);
void report_net_changes(DeviceModel& model, Frontend& frontend, const NetSnapshot& before);

}  // namespace mav
