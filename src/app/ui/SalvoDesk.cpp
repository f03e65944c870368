#include "app/ui/SalvoDesk.h"

#include <algorithm>
#include <chrono>

#include "salvo/Rehearsal.h"
#include "salvo/SalvoCapture.h"
#include "salvo/SalvoFile.h"
#include "salvo/SimulatorProcess.h"
#include "salvo/TakeTime.h"
#include "service/AccessRules.h"

namespace mav {
namespace {

constexpr int kSettleCheckMs = 20;
// A scheduled wake-up at least this often follows a change of the calendar clock.
constexpr std::int64_t kLongestScheduleWaitMs = 60000;

// No other operator holds locks on the controller's own link.
const LockOwner kNoLocks = [](int) { return std::optional<std::string>(); };

std::string step_text(const TakeStep& step) {
  std::string lines = step.lines;
  std::replace(lines.begin(), lines.end(), '\r', ' ');
  std::string text = GestureWord(step.gesture) + std::string(" ") + std::to_string(step.port);
  if (step.other != PORT_NONE) text += " " + std::to_string(step.other);
  return text + ": " + lines;
}

// The take's progress: each step sent, with its result once it has one.
Lines progress_lines(const TakeRun& take) {
  Lines lines;
  for (const StepRun& run : take.runs()) {
    std::string text = step_text(run.step);
    if (run.result != StepResult::Accepted) text += std::string("- ") + StepResultWord(run.result);
    lines.push_back(text);
    if (run.result == StepResult::Refused) lines.push_back("Refused: " + run.refusal);
  }
  return lines;
}

Lines refusal_lines(const std::vector<Refusal>& refusals) {
  Lines lines;
  for (const Refusal& refusal : refusals) lines.push_back("Refused: " + refusal.text);
  return lines;
}

}  // namespace

SalvoDesk::SalvoDesk(GatewayEngine& engine, GestureHooks& hooks)
    : engine_(engine), actions_(engine.action_parts(hooks)), schedule_(folder()) {
  settle_timer_.setInterval(kSettleCheckMs);
  QObject::connect(&settle_timer_, &QTimer::timeout, &timers_, [this] { run_next_step(); });
  schedule_timer_.setSingleShot(true);
  QObject::connect(&schedule_timer_, &QTimer::timeout, &timers_, [this] {
    for (const ScheduledTake& due : schedule_.take_due(engine_.clock())) {
      take(due.salvo, [this, name = due.salvo](const Lines& lines) {
        if (!lines.empty() && lines.back().starts_with("Refused")) {
          engine_.log().write_log_entry("The scheduled take of salvo " + name + ": " +
                                        lines.back());
        }
      });
    }
    arm_schedule();
    if (on_schedule_) on_schedule_();
  });
  arm_schedule();
}

Lines SalvoDesk::salvos() const {
  return ListSalvos(folder());
}

Lines SalvoDesk::preview(const std::string& name) const {
  const SalvoReading reading = LoadSalvo(folder(), name);
  if (!reading.salvo) return {reading.error};
  const SalvoPreview preview = PreviewSalvo(engine_.model(), *reading.salvo, kNoLocks);
  Lines lines = preview.changes;
  const Lines refused = refusal_lines(preview.refusals);
  lines.insert(lines.end(), refused.begin(), refused.end());
  return lines;
}

std::string SalvoDesk::save(const std::string& name, const std::string& ports) {
  const std::optional<PortSet> chosen = read_port_ranges(ports);
  if (!IsSalvoName(name)) return "A salvo's name may not be empty, hold '/' or start with '.'.";
  if (!chosen) return "Name the ports like 0-7,9.";
  std::vector<int> list;
  for (int port = 0; port < kPortCount; ++port) {
    if (chosen->test(static_cast<std::size_t>(port))) list.push_back(port);
  }
  const Salvo salvo = CaptureSalvo(engine_.model(), name, list);
  if (salvo.ports.empty()) return "None of " + ports + " has a module.";
  if (!SaveSalvo(folder(), salvo)) return "The salvo \"" + name + "\" could not be saved.";
  return {};
}

bool SalvoDesk::remove(const std::string& name) {
  return DeleteSalvo(folder(), name);
}

Lines SalvoDesk::rehearse(const std::string& name) const {
  const SalvoReading reading = LoadSalvo(folder(), name);
  if (!reading.salvo) return {reading.error};
  const Rehearsal rehearsal =
      RehearseTake(engine_.model(), *reading.salvo, kNoLocks, FindSimulator());
  Lines lines = refusal_lines(rehearsal.refusals);
  for (const RehearsedStep& run : rehearsal.steps) {
    lines.push_back(step_text(run.step) + "- " + StepResultWord(run.result));
    if (run.result == StepResult::Refused) lines.push_back(RehearsedStepText(run));
  }
  if (rehearsal.failure) lines.push_back(rehearsal.failure->text);
  if (lines.empty()) lines.push_back("No changes.");
  return lines;
}

void SalvoDesk::take(const std::string& name, std::function<void(const Lines&)> report) {
  const SalvoReading reading = LoadSalvo(folder(), name);
  Lines refused;
  if (!reading.salvo) {
    refused = {"Refused: " + reading.error};
  } else if (take_) {
    refused = {"Refused: another take is under way."};
  } else if (!engine_.link().is_ready() || !engine_.session().accepts_gestures()) {
    refused = {"Refused: the gateway is not connected and synchronised."};
  }
  const TakePlan plan =
      refused.empty() ? PlanTake(engine_.model(), *reading.salvo, kNoLocks) : TakePlan{};
  if (!plan.refusals.empty()) refused = refusal_lines(plan.refusals);
  if (!refused.empty() || plan.steps.empty()) {
    report(refused.empty() ? Lines{"No changes."} : refused);
    return;
  }
  // Every check came first: from here the steps go out as the gestures send them.
  take_.emplace(plan.steps);
  settled_checks_ = 2;
  report_ = std::move(report);
  run_next_step();
}

// Each step starts once two checks in a row find the last one settled: a reply handler may send
// its next line just after the last reply cleared the wait.
void SalvoDesk::run_next_step() {
  settled_checks_ =
      StepSettled(engine_.link(), engine_.session(), engine_.model()) ? settled_checks_ + 1 : 0;
  if (settled_checks_ < 2) {
    settle_timer_.start();
    return;
  }
  settle_timer_.stop();
  take_->next(actions_, engine_.model());
  const Lines progress = progress_lines(*take_);
  if (take_->finished()) {
    take_.reset();
    report_(progress);
    return;
  }
  settled_checks_ = 0;
  report_(progress);
  settle_timer_.start();
}

std::string SalvoDesk::schedule(const std::string& name, const std::string& option,
                                const std::string& value) {
  const auto when = TakeTime(option, value, engine_.clock());
  if (!when) return option == "--at" ? "Give the time as HH:MM." : "Give the delay like 90s.";
  if (!schedule_.add(name, *when)) return "The take could not be scheduled.";
  arm_schedule();
  return {};
}

void SalvoDesk::cancel(int take) {
  schedule_.cancel(take);
  arm_schedule();
}

void SalvoDesk::arm_schedule() {
  const auto next = schedule_.next_time();
  if (!next) {
    schedule_timer_.stop();
    return;
  }
  schedule_timer_.start(static_cast<int>(std::clamp<std::int64_t>(
      *next - engine_.clock().now_calendar_ms(), 0, kLongestScheduleWaitMs)));
}

}  // namespace mav
