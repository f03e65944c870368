// Everything the configuration files and their replay work with; each object outlives them.
#pragma once

#include <chrono>
#include <functional>

#include "frontend/Frontend.h"
#include "link/LinkChannel.h"
#include "matrix/CustomIcons.h"
#include "model/DeviceModel.h"
#include "model/PendingTable.h"
#include "modules/SettingsWriter.h"
#include "protocol/SessionState.h"
#include "security/PinTable.h"

namespace mav {

struct ConfigParts {
  DeviceModel& model;
  PendingTable& pending;
  PinTable& pins;
  LinkChannel& link;
  SessionState& session;
  Frontend& frontend;
  CustomIcons& icons;
  SettingsWriter& settings;
};

// How a replay spends its pause between the net joins and the rest: the worker thread sleeps;
// the UI thread returns to its event loop and runs `rest` from a timer, so the window stays alive.
using ReplayPause =
    std::function<void(std::chrono::milliseconds pause, std::function<void()> rest)>;

}  // namespace mav
