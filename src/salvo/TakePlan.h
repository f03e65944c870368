// Taking a salvo: every check first, then the operator's own gestures one after another, so the
// gateway receives exactly the lines a hand-made patch would send and the replies are booked the
// same way. The plan is worked out on a scratch copy of the model, each gesture followed by the
// state its replies will leave, which also gives the lines every step will send.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "link/LinkChannel.h"
#include "matrix/ConnectionActions.h"
#include "model/DeviceModel.h"
#include "protocol/SessionState.h"
#include "salvo/Salvo.h"
#include "salvo/SalvoCheck.h"

namespace mav {

enum class SalvoGesture {
  Disconnect,  // port leaves its net
  Connect,     // port and other, both free, make a net
  Join,        // port joins the net other is in
  MonitorOn,   // port starts monitoring other
  MonitorOff,  // port stops monitoring other
};

struct TakeStep {
  SalvoGesture gesture;
  int port;
  int other;          // PORT_NONE for Disconnect
  std::string lines;  // what the step sends, each line ending in "\r"
};

struct TakePlan {
  std::vector<Refusal> refusals;
  std::vector<TakeStep> steps;  // empty when anything refuses

  // Every step's lines, in order.
  std::string lines() const;
};

// Any thread; the model is only read.
TakePlan PlanTake(const DeviceModel& model, const Salvo& salvo, const LockOwner& lock_owner);

// Whether the gateway has answered every line sent and no connection or DISCH is half-made, so
// the next step starts from the state the last one left. Any thread.
bool StepSettled(const LinkChannel& link, const SessionState& session, const DeviceModel& model);

// Runs one step through the gesture actions on the model they serve: the refusal when the
// gesture refuses (the gateway changed since the plan), else nothing. UI thread, as the actions.
std::optional<Refusal> PerformStep(ConnectionActions& actions, const DeviceModel& model,
                                   const TakeStep& step);

}  // namespace mav
