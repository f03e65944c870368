#include "config/PortFit.h"

namespace mav {

bool SavedPortInUse(const PortRecord& saved) {
  return saved.bus != GROUP_NONE || saved.disch_group != GROUP_NONE;
}

PortFit FitOfPort(const PortRecord& current, const PortRecord& saved) {
  if (current.mod_type != MOD_NONE && current.mod_type == saved.mod_type) return PortFit::Restored;
  if (saved.mod_type != MOD_NONE && SavedPortInUse(saved)) return PortFit::LoadFails;
  return PortFit::NotRestored;
}

}  // namespace mav
