#include "salvo/TakePlan.h"

#include <algorithm>
#include <utility>

#include "frontend/SilentFrontend.h"
#include "model/MonitorList.h"
#include "model/PendingTable.h"
#include "protocol/SessionState.h"

namespace mav {
namespace {

// The screen and the operator's questions of the scratch run: nobody sees or answers them.
class Unseen final : public SilentFrontend, public GestureHooks {
 public:
  GesturePreferences gesture_preferences() const override { return {}; }
  bool confirm(const MessageBoxRequest&) override { return false; }
  void open_module_settings(int, bool) override {}
  void save_snapshot_before_bulk_change() override {}
};

class Collected final : public LineSender {
 public:
  bool send_line(std::string_view text, bool) override {
    lines.append(text);
    return true;
  }
  std::string lines;
};

// The scratch model and the gestures working on it.
class Rehearsal {
 public:
  explicit Rehearsal(const SalvoOutcome& outcome)
      : actions_({model_, pending_, sender_, session_, unseen_, unseen_}) {
    session_.sound_on.store(false);
    for (int port = 0; port < kPortCount; ++port) {
      model_.SetPort(port, outcome.now[static_cast<std::size_t>(port)]);
    }
  }

  const DeviceModel& model() const { return model_; }

  // False, with the refusal kept, when the gesture refuses.
  bool step(SalvoGesture gesture, int port, int other) {
    TakeStep taken{gesture, port, other, {}};
    if (auto refusal = PerformStep(actions_, model_, taken)) {
      refusal_ = std::move(refusal);
      return false;
    }
    taken.lines = std::exchange(sender_.lines, {});
    settle(taken);
    steps_.push_back(std::move(taken));
    return true;
  }

  TakePlan plan() && {
    if (refusal_) return {{std::move(*refusal_)}, {}};
    return {{}, std::move(steps_)};
  }

 private:
  // The state the gateway's replies to the step leave behind.
  void settle(const TakeStep& step) {
    PortRecord other{};
    model_.GetPort(step.other, other);
    const int bus = model_.LowestFreeBus();
    model_.Update(step.port, [&](PortRecord& record) {
      switch (step.gesture) {
        case SalvoGesture::Disconnect:
          record.bus = GROUP_NONE;
          record.bus_link = GROUP_NONE;
          record.net = GROUP_NONE;
          break;
        case SalvoGesture::Connect:
          record.bus = static_cast<std::int16_t>(bus);
          break;
        case SalvoGesture::Join:
          record.bus = other.bus;
          break;
        case SalvoGesture::MonitorOn:
          AddMonitor(record, step.other);
          break;
        case SalvoGesture::MonitorOff:
          RemoveMonitor(record, step.other);
          break;
      }
    });
    if (step.gesture == SalvoGesture::Connect) {
      model_.Update(step.other,
                    [bus](PortRecord& record) { record.bus = static_cast<std::int16_t>(bus); });
    }
    model_.RenumberNets();
  }

  DeviceModel model_;
  PendingTable pending_;
  Collected sender_;
  SessionState session_;
  Unseen unseen_;
  ConnectionActions actions_;
  std::vector<TakeStep> steps_;
  std::optional<Refusal> refusal_;
};

bool in_net_of(const DeviceModel& model, int port, int anchor) {
  PortRecord a;
  PortRecord b;
  return model.GetPort(port, a) && model.GetPort(anchor, b) && a.net != GROUP_NONE &&
         a.net == b.net;
}

bool connected(const DeviceModel& model, int port) {
  PortRecord record;
  return model.GetPort(port, record) &&
         (record.bus != GROUP_NONE || record.disch_group != GROUP_NONE);
}

// A salvo net: grown from the net it keeps, else begun by its first two ports.
bool build_net(Rehearsal& run, const std::vector<int>& net, int grows_from) {
  int anchor = PORT_NONE;
  for (const int port : net) {
    PortRecord record;
    run.model().GetPort(port, record);
    if (grows_from != GROUP_NONE && record.net == grows_from) anchor = port;
  }
  for (const int port : net) {
    if (anchor == PORT_NONE) {
      anchor = port;
    } else if (!in_net_of(run.model(), port, anchor)) {
      PortRecord record;
      run.model().GetPort(anchor, record);
      const auto gesture = record.net == GROUP_NONE ? SalvoGesture::Connect : SalvoGesture::Join;
      if (!run.step(gesture, gesture == SalvoGesture::Connect ? anchor : port,
                    gesture == SalvoGesture::Connect ? port : anchor)) {
        return false;
      }
    }
  }
  return true;
}

bool set_monitors(Rehearsal& run, const SalvoMonitors& wanted) {
  PortRecord record;
  run.model().GetPort(wanted.port, record);
  const std::vector<int> held(record.monitors, record.monitors + MonitorEntries(record));
  for (const int port : held) {
    const bool kept = std::count(wanted.monitored.begin(), wanted.monitored.end(), port) > 0;
    if (!kept && !run.step(SalvoGesture::MonitorOff, wanted.port, port)) return false;
  }
  for (const int port : wanted.monitored) {
    const bool has = std::count(held.begin(), held.end(), port) > 0;
    if (!has && !run.step(SalvoGesture::MonitorOn, wanted.port, port)) return false;
  }
  return true;
}

}  // namespace

std::string TakePlan::lines() const {
  std::string all;
  for (const TakeStep& step : steps) all += step.lines;
  return all;
}

TakePlan PlanTake(const DeviceModel& model, const Salvo& salvo, const LockOwner& lock_owner) {
  const SalvoOutcome outcome = ForeseeSalvo(model, salvo);
  std::vector<Refusal> refusals = CheckSalvo(outcome, salvo, lock_owner);
  if (!refusals.empty()) return {std::move(refusals), {}};
  Rehearsal run(outcome);
  // A port may have left already with the last partner of its net.
  for (const int port : outcome.leaving) {
    if (connected(run.model(), port) && !run.step(SalvoGesture::Disconnect, port, PORT_NONE)) {
      return std::move(run).plan();
    }
  }
  for (std::size_t i = 0; i < salvo.nets.size(); ++i) {
    if (!build_net(run, salvo.nets[i], outcome.grows_from[i])) return std::move(run).plan();
  }
  for (const SalvoMonitors& wanted : salvo.monitors) {
    if (!set_monitors(run, wanted)) break;
  }
  return std::move(run).plan();
}

bool StepSettled(const LinkChannel& link, const SessionState& session, const DeviceModel& model) {
  if (link.queued_lines() != 0 || link.awaiting_reply() || session.replay_running.load()) {
    return false;
  }
  PortRecord record;
  for (int port = 0; port < kPortCount; ++port) {
    model.GetPort(port, record);
    if (record.connect_step != 0 || record.disch_step != 0) return false;
  }
  return true;
}

std::optional<Refusal> PerformStep(ConnectionActions& actions, const DeviceModel& model,
                                   const TakeStep& step) {
  PortRecord other{};
  switch (step.gesture) {
    case SalvoGesture::Disconnect:
      actions.disconnect_port(step.port);
      break;
    case SalvoGesture::Connect:
      actions.connect_ports(step.port, step.other);
      break;
    case SalvoGesture::Join:
      if (!model.GetPort(step.other, other) || other.net == GROUP_NONE) {
        return Refusal{"empty_net", port_text(step.other) + " is in no net."};
      }
      actions.add_port_to_net(other.net - 1, step.port);
      break;
    case SalvoGesture::MonitorOn:
      actions.monitor_on(step.port, step.other);
      break;
    case SalvoGesture::MonitorOff:
      actions.monitor_off(step.port, step.other);
      break;
  }
  return actions.take_refusal();
}

}  // namespace mav
