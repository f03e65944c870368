// How the status line names a change another party made: "Port 07 connected by desk-1", or
// "Ports 03, 07 disconnected by desk-1" when it moved several ports at once. UI thread.
#pragma once

#include <array>
#include <string>

#include "model/DeviceModel.h"
#include "service/ControlMessages.h"

namespace mav {

using PortNets = std::array<int, kPortCount>;

// Each port's net in the model.
PortNets nets_of(const DeviceModel& model);

class ChangeSentence {
 public:
  // Every port whose net or lock moved between the two pictures of the gateway.
  ChangeSentence(const PortNets& nets_before, const PortNets& nets_after,
                 const LockOwners& locks_before, const LockOwners& locks_after);
  // The sentence; empty when no port changed or nobody is named.
  std::string by(const std::string& actor) const;

 private:
  std::string ports_;
  std::string what_;  // the last changed port's: it names the change of all
};

}  // namespace mav
