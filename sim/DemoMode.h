// Demo mode: every few seconds a plausible piece of activity, chosen at random from what the
// line-up allows: radio COR and PTT, ringing lines, a local phone lifted or hung up, a
// connection made or broken at the gateway. It produces control commands for the simulator to
// run, so demo activity takes the same road as any other event. Time is passed in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "GatewayModel.h"

namespace mav::sim {

class DemoMode {
 public:
  DemoMode(std::uint32_t seed, std::uint64_t now_ms);

  std::uint64_t next_due() const { return next_at_; }

  // The commands for the activity due by now_ms (none before next_due()).
  std::vector<std::string> take_due(std::uint64_t now_ms, const GatewayModel& model);

 private:
  std::uint32_t random(std::uint32_t bound);
  int random_port(const GatewayModel& model, std::initializer_list<int> types, bool connected);
  std::string pick_activity(const GatewayModel& model);

  std::uint32_t state_;
  std::uint64_t next_at_;
};

}  // namespace mav::sim
