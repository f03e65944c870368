#include "console/ChangeSentence.h"

#include "matrix/ConnectionActions.h"
#include "model/PortRecord.h"

namespace mav {

void ChangeSentence::add(int port, int net_before, int net_after, const std::string& lock_before,
                         const std::string& lock_after) {
  if (lock_after != lock_before) {
    what_ = lock_after.empty() ? "unlocked" : "locked";
  } else if (net_after != net_before) {
    what_ = net_after == GROUP_NONE ? "disconnected" : "connected";
  } else {
    return;
  }
  ports_ += (ports_.empty() ? "" : ", ") + port_text(port).substr(5);
}

std::string ChangeSentence::by(const std::string& actor) const {
  if (actor.empty() || ports_.empty()) return {};
  return (ports_.size() > 2 ? "Ports " : "Port ") + ports_ + " " + what_ + " by " + actor;
}

}  // namespace mav
