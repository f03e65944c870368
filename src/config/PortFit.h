// Whether one saved port can be put back onto the port as the gateway holds it now. The loader
// decides with it before anything is sent, and the comparison shown to the operator before a
// restore uses the same decision, so what it predicts is what the load does. Pure; any thread.
#pragma once

#include "model/PortRecord.h"

namespace mav {

enum class PortFit {
  Restored,     // the same module type on both sides
  NotRestored,  // a module missing or of another type, on a port the saved nets do not use
  LoadFails,    // the same, on a port that sat on a bus or in a DISCH group: nothing is loaded
};

PortFit FitOfPort(const PortRecord& current, const PortRecord& saved);

}  // namespace mav
