// What taking a salvo would do to the gateway as the model holds it now, and what refuses it.
// The preview shows the changes in the form of the configuration comparison, made by the same
// comparison, so the operator reads a salvo and a restore alike. Pure; any thread.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "matrix/ConnectionActions.h"
#include "model/ConfigFile.h"
#include "model/DeviceModel.h"
#include "salvo/Salvo.h"

namespace mav {

// The owner of a lock another client holds on the port; nothing when the port is free to the
// one taking the salvo.
using LockOwner = std::function<std::optional<std::string>(int port)>;

struct SalvoOutcome {
  std::array<PortRecord, kPortCount> now{};
  // Per salvo net: the current net (1-7) it grows from, one whose ports all belong to it, the
  // largest such; GROUP_NONE when it is built from free ports.
  std::vector<int> grows_from;
  // Ascending: the ports that must first leave their net or DISCH group.
  std::vector<int> leaving;
  // Ascending: the ports that join a salvo net they are not in yet.
  std::vector<int> joining;
  // Every port as the take leaves it; each net a value 0-7 shared by two or more ports.
  Configuration end;
};

SalvoOutcome ForeseeSalvo(const DeviceModel& model, const Salvo& salvo);

// Every reason the take may not go ahead, in port order: a missing module, another module type
// or port name, another client's lock, a permanent mark or a DISCH group in the way, and more
// nets than the gateway holds. Empty when the take may go ahead.
std::vector<Refusal> CheckSalvo(const SalvoOutcome& outcome, const Salvo& salvo,
                                const LockOwner& lock_owner);

// Every reason in one sentence after another, as a refused take reports them.
std::string SalvoRefusalText(const std::vector<Refusal>& refusals);

struct SalvoPreview {
  std::vector<std::string> changes;  // one line per change, "No changes." when none
  std::vector<Refusal> refusals;
};

SalvoPreview PreviewSalvo(const DeviceModel& model, const Salvo& salvo,
                          const LockOwner& lock_owner);

}  // namespace mav
