// A take under way: its planned steps sent one after another through the gestures' actions, each
// once its host finds the gateway settled after the one before. The service and the controller's
// salvo desk each keep one and report its steps their own way. UI thread, as the actions.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "salvo/TakePlan.h"

namespace mav {

enum class StepResult { Accepted, Applied, Refused };

// "accepted", "applied", "refused": the words a take's steps are reported with.
const char* StepResultWord(StepResult result);

struct StepRun {
  TakeStep step;
  StepResult result = StepResult::Accepted;  // accepted: sent, and not yet settled
  std::string refusal;                       // why the gesture refused, when it did
};

class TakeRun {
 public:
  TakeRun() = default;
  explicit TakeRun(std::vector<TakeStep> steps) : steps_(std::move(steps)) {}

  // Marks the step under way applied and sends the next: its refusal, if it refuses (the gateway
  // changed since the plan, and the gesture refuses as it would by hand).
  std::optional<Refusal> next(ConnectionActions& actions, const DeviceModel& model);
  // The take has ended: a step refused, or every step has been sent and applied.
  bool finished() const {
    if (runs_.empty()) return steps_.empty();
    const StepResult last = runs_.back().result;
    return last == StepResult::Refused ||
           (last == StepResult::Applied && runs_.size() == steps_.size());
  }
  const std::vector<StepRun>& runs() const { return runs_; }

 private:
  std::vector<TakeStep> steps_;
  std::vector<StepRun> runs_;
};

}  // namespace mav
