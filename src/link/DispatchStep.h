// The worker loop's third step: whoever consumes parsed replies (the reply dispatcher) runs one
// step per pass, and names the timers it keeps so the loop knows when to wake for them. Worker
// thread only.
#pragma once

#include "platform/NextWake.h"

namespace mav {

class DispatchStep {
 public:
  virtual ~DispatchStep() = default;
  virtual void dispatch_step() = 0;
  // The step's pending timers as of next.now().
  virtual void add_deadlines(NextWake& next) const = 0;
};

}  // namespace mav
