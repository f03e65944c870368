#include "salvo/TakeRun.h"

namespace mav {

const char* StepResultWord(StepResult result) {
  switch (result) {
    case StepResult::Applied:
      return "applied";
    case StepResult::Refused:
      return "refused";
    case StepResult::Accepted:
      break;
  }
  return "accepted";
}

std::optional<Refusal> TakeRun::next(ConnectionActions& actions, const DeviceModel& model) {
  if (!runs_.empty() && runs_.back().result == StepResult::Accepted) {
    runs_.back().result = StepResult::Applied;
  }
  if (runs_.size() >= steps_.size()) return std::nullopt;
  StepRun run{steps_[runs_.size()], StepResult::Accepted, {}};
  const auto refused = PerformStep(actions, model, run.step);
  if (refused) {
    run.result = StepResult::Refused;
    run.refusal = refused->text;
  }
  runs_.push_back(std::move(run));
  return refused;
}

}  // namespace mav
