// Puts a saved configuration back onto the gateway. The loader checks that the saved ports fit
// the modules now present, takes over the PIN table and security mode, disconnects everything and
// rebuilds monitors, nets, links and DISCH groups with commands whose replies bring the model up
// to date, then restores names, icons and settings. Every line from the disconnect on goes
// through the held outgoing queue, in a fixed order. The session's replay_running flag is set
// from the first line sent to the end, so the operator's commands wait instead of landing in the
// middle of the held queue. Either thread; the pause decides how the thread waits.
#pragma once

#include "config/ConfigParts.h"
#include "model/ConfigFile.h"

namespace mav {

inline constexpr std::chrono::milliseconds kReplayPause{500};

// False, with the refusal shown and nothing sent or changed, when a used saved port meets a
// missing or different module. The matrix is repainted once the replay has ended.
bool LoadConfiguration(const ConfigParts& parts, const Configuration& saved,
                       const ReplayPause& pause);

}  // namespace mav
