#include "service/ServiceConfigOps.h"

#include "frontend/MenuIds.h"

namespace mav {

std::optional<int> configuration_command_of(ControlOp op) {
  switch (op) {
    case ControlOp::ConfigSave:
      return menu::kSaveConfiguration;
    case ControlOp::ConfigLoad:
      return menu::kLoadConfiguration;
    case ControlOp::ConfigRestoreLast:
      return menu::kRestoreLastConfig;
    case ControlOp::ConfigRevert:  // both Revert items restore the one snapshot
      return menu::kRevertAfterConnectAll;
    case ControlOp::HistoryList:
    case ControlOp::HistoryRestore:
      return menu::kRestoreFromHistory;
    default:
      return std::nullopt;
  }
}

bool replays_configuration(const ControlRequest& request) {
  return configuration_command_of(request.op) && request.op != ControlOp::ConfigSave &&
         request.op != ControlOp::HistoryList && !request.arguments.preview;
}

}  // namespace mav
