// The events a model or lock change makes: the model is compared with what clients were last told,
// port by port and the nets as a whole, so a client sees every change once, however many replies it
// took, and the comparison never depends on which reply handler ran. Loop thread.
#pragma once

#include <array>
#include <nlohmann/json.hpp>
#include <vector>

#include "model/DeviceModel.h"
#include "service/ControlMessages.h"

namespace mav {

class ModelEvents {
 public:
  // Takes the model as clients know it from a snapshot.
  void reset(const DeviceModel& model, const LockOwners& locks);
  // Each port that changed since, then the nets when any changed; each an event's body.
  std::vector<nlohmann::ordered_json> changes(const DeviceModel& model, const LockOwners& locks);

 private:
  std::array<nlohmann::ordered_json, kPortCount> ports_;
  nlohmann::ordered_json nets_;
};

}  // namespace mav
