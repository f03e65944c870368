// Salvos through the service: saved from the model, listed, previewed, rehearsed, and taken through
// the gestures' actions one step at a time, now or when a scheduled take falls due.
#include <algorithm>

#include "salvo/Rehearsal.h"
#include "salvo/SalvoCapture.h"
#include "salvo/SalvoFile.h"
#include "salvo/SimulatorProcess.h"
#include "salvo/TakeTime.h"
#include "service/GatewayService.h"

namespace mav {
namespace {

using nlohmann::ordered_json;

// A due take waits for the gateway to be connected and settled, looking again this often, for at
// most this long past its time (a start and its synchronisation included); later it is refused
// rather than patching long after the operator meant it to.
constexpr std::uint32_t kNotReadyRetryMs = 1000;
constexpr std::int64_t kLatestTakeMs = 120000;

ordered_json step_json(const TakeStep& step) {
  ordered_json json{{"step", GestureWord(step.gesture)}, {"port", step.port}};
  if (step.other != PORT_NONE) json["other"] = step.other;
  ordered_json lines = ordered_json::array();
  for (std::size_t start = 0, end; start < step.lines.size(); start = end + 1) {
    end = std::min(step.lines.find('\r', start), step.lines.size());
    lines.push_back(step.lines.substr(start, end - start));
  }
  json["lines"] = std::move(lines);
  return json;
}

ordered_json refusals_json(const std::vector<Refusal>& refusals) {
  ordered_json list = ordered_json::array();
  for (const Refusal& refusal : refusals) {
    list.push_back({{"code", refusal.code}, {"message", refusal.text}});
  }
  return list;
}

// The rehearsal in the take's form, each step with the simulator's replies; a refused step is the
// op's refusal, as it would stop the take there.
std::optional<Refusal> rehearsal_answer(const Rehearsal& rehearsal, ordered_json& answer) {
  if (!rehearsal.refusals.empty()) {
    answer["refusals"] = refusals_json(rehearsal.refusals);
    return Refusal{"salvo_refused", SalvoRefusalText(rehearsal.refusals)};
  }
  if (rehearsal.failure) return rehearsal.failure;
  answer["steps"] = ordered_json::array();
  for (const RehearsedStep& run : rehearsal.steps) {
    ordered_json result = step_json(run.step);
    result["result"] = StepResultWord(run.result);
    result["replies"] = run.replies;
    answer["steps"].push_back(std::move(result));
  }
  if (rehearsal.steps.empty() || rehearsal.steps.back().result != StepResult::Refused) {
    return std::nullopt;
  }
  return Refusal{"step_refused", RehearsedStepText(rehearsal.steps.back())};
}

ordered_json take_json(const ScheduledTake& take) {
  const std::chrono::system_clock::time_point when{std::chrono::milliseconds(take.when_ms)};
  return {{"take", take.id},
          {"salvo", take.salvo},
          {"at", local_time_text(when, true)},
          {"by", take.by}};
}

}  // namespace

std::optional<Refusal> GatewayService::run_salvo_op(const ControlRequest& request, Pending& pending,
                                                    bool& done, ordered_json& answer) {
  const ControlArguments& a = request.arguments;
  const std::filesystem::path& folder = setup_.folders.program;
  done = true;
  switch (request.op) {
    case ControlOp::SalvoList:
      answer["salvos"] = ListSalvos(folder);
      return std::nullopt;
    case ControlOp::SalvoScheduled:
      answer["takes"] = ordered_json::array();
      for (const ScheduledTake& take : schedule_.list()) answer["takes"].push_back(take_json(take));
      return std::nullopt;
    case ControlOp::SalvoCancel:
      if (!schedule_.cancel(a.take)) {
        return Refusal{"no_take", "No take " + std::to_string(a.take) + " is scheduled."};
      }
      arm_schedule();
      return std::nullopt;
    case ControlOp::SalvoDelete:
      if (!DeleteSalvo(folder, a.name)) {
        return Refusal{"no_salvo", "There is no salvo \"" + a.name + "\"."};
      }
      return std::nullopt;
    case ControlOp::SalvoSave: {
      const PortSet chosen = read_port_ranges(a.ports).value_or(PortSet());
      std::vector<int> ports;
      for (int port = 0; port < kPortCount; ++port) {
        if (chosen.test(static_cast<std::size_t>(port))) ports.push_back(port);
      }
      const Salvo salvo = CaptureSalvo(engine_.model(), a.name, ports);
      if (salvo.ports.empty()) return Refusal{"no_module", "None of " + a.ports + " has a module."};
      if (!SaveSalvo(folder, salvo)) {
        return Refusal{"save_failed", "The salvo \"" + a.name + "\" could not be saved."};
      }
      return std::nullopt;
    }
    default:
      break;
  }
  const SalvoReading reading = LoadSalvo(folder, a.name);
  if (!reading.salvo) return Refusal{"no_salvo", reading.error};
  const auto identity = identities_.find(pending.client);
  const LockOwner lock_owner = lock_owner_for(
      pending.actor, identity != identities_.end() && identity->second.role == Role::Supervisor);
  if (request.op == ControlOp::SalvoRehearse) {
    return rehearsal_answer(
        RehearseTake(engine_.model(), *reading.salvo, lock_owner, FindSimulator()), answer);
  }
  if (request.op == ControlOp::SalvoPreview) {
    const SalvoPreview preview = PreviewSalvo(engine_.model(), *reading.salvo, lock_owner);
    answer["changes"] = preview.changes;
    answer["refusals"] = refusals_json(preview.refusals);
    return std::nullopt;
  }
  if (!a.at.empty() || !a.in.empty()) {
    const auto when = a.at.empty() ? TakeTime("--in", a.in, engine_.clock())
                                   : TakeTime("--at", a.at, engine_.clock());
    const auto id = when ? schedule_.add(a.name, *when, pending.actor) : std::nullopt;
    if (!id) return Refusal{"schedule_failed", "The take could not be scheduled."};
    answer["scheduled"] = take_json({*id, a.name, *when, pending.actor});
    arm_schedule();
    return std::nullopt;
  }
  // Every check comes before the first line, so a refused take sends nothing.
  const TakePlan plan = PlanTake(engine_.model(), *reading.salvo, lock_owner);
  if (!plan.refusals.empty()) {
    answer["refusals"] = refusals_json(plan.refusals);
    return Refusal{"salvo_refused", SalvoRefusalText(plan.refusals)};
  }
  if (plan.steps.empty()) {
    answer["steps"] = ordered_json::array();
    return std::nullopt;
  }
  done = false;
  pending.take = TakeRun(plan.steps);
  return pending.take.next(*actions_, engine_.model());
}

ordered_json GatewayService::steps_json(const TakeRun& take) {
  ordered_json steps = ordered_json::array();
  for (const StepRun& run : take.runs()) {
    ordered_json result = step_json(run.step);
    result["result"] = StepResultWord(run.result);
    if (run.result == StepResult::Refused) result["message"] = run.refusal;
    steps.push_back(std::move(result));
  }
  return steps;
}

LockOwner GatewayService::lock_owner_for(const std::string& actor, bool supervisor) const {
  return [this, actor, supervisor](int port) -> std::optional<std::string> {
    if (port < 0 || port >= kPortCount || supervisor) return std::nullopt;
    const std::string& owner = locks_[static_cast<std::size_t>(port)];
    if (owner.empty() || owner == actor) return std::nullopt;
    return owner;
  };
}

PortSet GatewayService::salvo_ports(const std::string& name) const {
  PortSet ports;
  const SalvoReading reading = LoadSalvo(setup_.folders.program, name);
  for (const SalvoPort& port : reading.salvo ? reading.salvo->ports : std::vector<SalvoPort>{}) {
    ports.set(static_cast<std::size_t>(port.port));
  }
  return ports;
}

void GatewayService::arm_schedule(std::uint32_t longest_ms) {
  if (schedule_timer_ != 0) loop_.cancel_timer(schedule_timer_);
  schedule_timer_ = 0;
  const auto next = schedule_.next_time();
  if (!next) return;
  // Waking at least every so often follows a change of the calendar clock.
  const std::int64_t wait =
      std::clamp<std::int64_t>(*next - engine_.clock().now_calendar_ms(), 0, longest_ms);
  schedule_timer_ = loop_.add_timer(static_cast<std::uint32_t>(wait), false, [this] {
    schedule_timer_ = 0;
    run_due_takes();
  });
}

void GatewayService::run_due_takes() {
  const bool ready = link_state() == LinkState::Connected && engine_.session().accepts_gestures();
  const auto next = schedule_.next_time();
  if (!ready && next && engine_.clock().now_calendar_ms() - *next < kLatestTakeMs) {
    arm_schedule(kNotReadyRetryMs);
    return;
  }
  for (const ScheduledTake& take : schedule_.take_due(engine_.clock())) {
    ControlRequest request{nullptr, ControlOp::SalvoTake, {}};
    request.arguments.name = take.salvo;
    // The take is the scheduling client's: its name is on the audit record and the events.
    Pending pending{-1,
                    nullptr,
                    request.op,
                    request.arguments,
                    take.by.empty() ? std::string("schedule") : take.by,
                    "schedule",
                    engine_.clock().now_ms()};
    bool done = false;
    ordered_json answer = ordered_json::object();
    if (const auto refused = act(request, pending, done, answer)) {
      engine_.log().write_log_entry("The scheduled take of salvo " + take.salvo +
                                    " was refused: " + refused->text);
      finish(pending, ResponseStatus::Refused, answer, "refused");
    } else if (done) {
      publish_model_changes(pending.actor);
      finish(pending, ResponseStatus::Applied, answer, "applied");
    } else {
      pending_.push_back(std::move(pending));
      check_pending();
    }
  }
  arm_schedule();
}

}  // namespace mav
