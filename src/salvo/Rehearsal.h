// A take rehearsed: the same checks and the same lines as a take, sent to a private simulator
// loaded with the gateway's current state (its modules, nets, conferencing switches and monitors)
// instead of the gateway, so the operator sees what the gateway would answer before anything on
// the console changes. Blocking while the simulator runs; any thread.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "salvo/TakePlan.h"
#include "salvo/TakeRun.h"

namespace mav {

// "connect", "join", "disconnect", "monitor_on", "monitor_off".
const char* GestureWord(SalvoGesture gesture);

struct RehearsedStep {
  TakeStep step;
  StepResult result = StepResult::Accepted;  // accepted: sent, and nothing answered
  std::vector<std::string> replies;          // the simulator's replies to the step's lines
};

// What the simulator answered a step, as one sentence.
std::string RehearsedStepText(const RehearsedStep& step);

struct Rehearsal {
  std::vector<Refusal> refusals;     // the take's own checks: when any refuses, nothing ran
  std::optional<Refusal> failure;    // the simulator missing, not starting or not answering
  std::vector<RehearsedStep> steps;  // up to the first refused one, as a take stops there
};

Rehearsal RehearseTake(const DeviceModel& model, const Salvo& salvo, const LockOwner& lock_owner,
                       const std::optional<std::filesystem::path>& simulator);

}  // namespace mav
