// The worker loop's third step: whoever consumes parsed replies (the reply dispatcher) runs one
// step per pass. Worker thread only.
#pragma once

namespace mav {

class DispatchStep {
 public:
  virtual ~DispatchStep() = default;
  virtual void dispatch_step() = 0;
};

}  // namespace mav
