#include "console/ChangeSentence.h"

#include "matrix/ConnectionActions.h"
#include "model/PortRecord.h"

namespace mav {

PortNets nets_of(const DeviceModel& model) {
  PortNets nets{};
  for (int port = 0; port < kPortCount; ++port) {
    PortRecord record;
    model.GetPort(port, record);
    nets[static_cast<std::size_t>(port)] = record.net;
  }
  return nets;
}

ChangeSentence::ChangeSentence(const PortNets& nets_before, const PortNets& nets_after,
                               const LockOwners& locks_before, const LockOwners& locks_after) {
  for (int port = 0; port < kPortCount; ++port) {
    const auto index = static_cast<std::size_t>(port);
    if (locks_after[index] != locks_before[index]) {
      what_ = locks_after[index].empty() ? "unlocked" : "locked";
    } else if (nets_after[index] != nets_before[index]) {
      what_ = nets_after[index] == GROUP_NONE ? "disconnected" : "connected";
    } else {
      continue;
    }
    ports_ += (ports_.empty() ? "" : ", ") + port_text(port).substr(5);
  }
}

std::string ChangeSentence::by(const std::string& actor) const {
  if (actor.empty() || ports_.empty()) return {};
  return (ports_.size() > 2 ? "Ports " : "Port ") + ports_ + " " + what_ + " by " + actor;
}

}  // namespace mav
