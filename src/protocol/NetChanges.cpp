#include "protocol/NetChanges.h"

namespace mav {

NetSnapshot snapshot_nets(const DeviceModel& model) {
  NetSnapshot nets{};
  PortRecord record;
  for (int port = 0; port < kPortCount; ++port) {
    model.GetPort(port, record);
    nets[static_cast<std::size_t>(port)] = record.net;
  }
  return nets;
}

void report_net_changes(DeviceModel& model, Frontend& frontend, const NetSnapshot& before) {
  model.RenumberNets();
  const NetSnapshot after = snapshot_nets(model);
  bool moved = false;
  for (int port = 0; port < kPortCount; ++port) {
    const auto i = static_cast<std::size_t>(port);
    if (after[i] == before[i]) continue;
    frontend.start_move(port, before[i], after[i]);
    moved = true;
  }
  if (!moved) frontend.request_repaint();
}

}  // namespace mav
