#include "salvo/Rehearsal.h"

#include <algorithm>
#include <cstdio>

#include "model/MonitorList.h"
#include "salvo/SimulatorProcess.h"

namespace mav {
namespace {

constexpr std::string_view kAnswered = "ok";
constexpr std::string_view kBetweenReplies = " | ";

Refusal failed(std::string text) {
  return {"rehearsal_failed", std::move(text)};
}

// The simulator's line-up: one module type digit per port.
std::string lineup_of(const DeviceModel& model) {
  std::string lineup;
  for (int port = 0; port < kPortCount; ++port) {
    PortRecord record;
    model.GetPort(port, record);
    lineup += static_cast<char>('0' + (record.mod_type <= MOD_HK6 ? record.mod_type : MOD_NONE));
  }
  return lineup;
}

// The replies of an "ask" answer: "ok R1 | R2"; nothing when it is not one.
std::optional<std::vector<std::string>> replies_of(const std::optional<std::string>& answer) {
  if (!answer || answer->compare(0, kAnswered.size(), kAnswered) != 0) return std::nullopt;
  std::vector<std::string> replies;
  std::string_view rest = std::string_view(*answer).substr(kAnswered.size());
  if (!rest.empty()) rest.remove_prefix(1);
  while (!rest.empty()) {
    const std::size_t end = rest.find(kBetweenReplies);
    replies.emplace_back(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view()
                                         : rest.substr(end + kBetweenReplies.size());
  }
  return replies;
}

bool done(const std::string& reply) {
  return reply.size() >= 3 && reply.compare(reply.size() - 3, 3, " E0") == 0;
}

std::string two_digits(int port) {
  char text[8];
  std::snprintf(text, sizeof text, "%.2d", port);
  return text;
}

// Loads the gateway's state: conferencing where it is on (a net of three needs it), every net
// joined on one bus, every monitor set. False when the simulator refuses any of it.
bool load_state(SimulatorProcess& simulator, const DeviceModel& model) {
  std::vector<std::string> nets(kPortCount);
  for (int port = 0; port < kPortCount; ++port) {
    PortRecord record;
    model.GetPort(port, record);
    if (record.mod_type == MOD_NONE) continue;
    const std::string pp = two_digits(port);
    if (record.settings.conf != 0 && !simulator.command("ask CONF " + pp + " ON")) return false;
    if (record.net > 0 && record.net < kPortCount) {
      nets[static_cast<std::size_t>(record.net)] += " " + std::to_string(port);
    }
    for (int i = 0; i < MonitorEntries(record); ++i) {
      if (!model.HasModule(record.monitors[i])) continue;
      const std::string line = "ask MON " + pp + " " + two_digits(record.monitors[i]) + " ON";
      const auto replies = replies_of(simulator.command(line));
      if (!replies || replies->empty() || !done(replies->front())) return false;
    }
  }
  for (const std::string& net : nets) {
    if (net.find(' ', 1) == std::string::npos) continue;  // fewer than two ports
    const auto answer = simulator.command("connect" + net);
    if (!answer || answer->compare(0, kAnswered.size(), kAnswered) != 0) return false;
  }
  return true;
}

RehearsedStep run_step(SimulatorProcess& simulator, const TakeStep& step, bool& answered) {
  RehearsedStep run{step, StepResult::Accepted, {}};
  answered = true;
  for (std::size_t start = 0, end; start < step.lines.size(); start = end + 1) {
    end = std::min(step.lines.find('\r', start), step.lines.size());
    const auto replies =
        replies_of(simulator.command("ask " + step.lines.substr(start, end - start)));
    if (!replies) {
      answered = false;
      return run;
    }
    run.replies.insert(run.replies.end(), replies->begin(), replies->end());
  }
  if (!run.replies.empty()) {
    run.result = std::all_of(run.replies.begin(), run.replies.end(), done) ? StepResult::Applied
                                                                           : StepResult::Refused;
  }
  return run;
}

}  // namespace

const char* GestureWord(SalvoGesture gesture) {
  switch (gesture) {
    case SalvoGesture::Disconnect:
      return "disconnect";
    case SalvoGesture::Connect:
      return "connect";
    case SalvoGesture::Join:
      return "join";
    case SalvoGesture::MonitorOn:
      return "monitor_on";
    case SalvoGesture::MonitorOff:
      return "monitor_off";
  }
  return "connect";
}

std::string RehearsedStepText(const RehearsedStep& step) {
  if (step.replies.empty()) return "The simulator did not answer.";
  std::string replies;
  for (const std::string& reply : step.replies) {
    replies += (replies.empty() ? "" : ", ") + reply;
  }
  return "The simulator answered " + replies + ".";
}

Rehearsal RehearseTake(const DeviceModel& model, const Salvo& salvo, const LockOwner& lock_owner,
                       const std::optional<std::filesystem::path>& simulator) {
  Rehearsal rehearsal;
  TakePlan plan = PlanTake(model, salvo, lock_owner);
  if (!plan.refusals.empty()) {
    rehearsal.refusals = std::move(plan.refusals);
    return rehearsal;
  }
  if (!simulator) {
    rehearsal.failure =
        Refusal{"no_simulator",
                "A rehearsal needs the gateway simulator, and none is installed beside "
                "this program."};
    return rehearsal;
  }
  SimulatorProcess process(*simulator, lineup_of(model));
  if (!process.running()) {
    rehearsal.failure = failed("The gateway simulator did not start.");
  } else if (!load_state(process, model)) {
    rehearsal.failure = failed("The gateway simulator could not take on the gateway's state.");
  }
  for (const TakeStep& step : rehearsal.failure ? std::vector<TakeStep>{} : plan.steps) {
    bool answered = false;
    rehearsal.steps.push_back(run_step(process, step, answered));
    if (!answered) {
      rehearsal.failure = failed("The gateway simulator stopped answering.");
      break;
    }
    if (rehearsal.steps.back().result == StepResult::Refused) break;
  }
  return rehearsal;
}

}  // namespace mav
