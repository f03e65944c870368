#include "config/PortFit.h"

namespace mav {
namespace {

// A saved port is in use when it sat on a bus or in a DISCH group.
bool saved_port_in_use(const PortRecord& saved) {
  return saved.bus != GROUP_NONE || saved.disch_group != GROUP_NONE;
}

}  // namespace

PortFit FitOfPort(const PortRecord& current, const PortRecord& saved) {
  if (current.mod_type != MOD_NONE && current.mod_type == saved.mod_type) return PortFit::Restored;
  if (saved.mod_type != MOD_NONE && saved_port_in_use(saved)) return PortFit::LoadFails;
  return PortFit::NotRestored;
}

}  // namespace mav
