#include "DemoMode.h"

#include <algorithm>
#include <cstdio>

namespace mav::sim {
namespace {

std::string hex_mask(std::uint32_t mask) {
  char text[16];
  std::snprintf(text, sizeof text, "%x", mask);
  return text;
}

}  // namespace

DemoMode::DemoMode(std::uint32_t seed, std::uint64_t now_ms)
    : state_(seed != 0 ? seed : 1u), next_at_(now_ms + 2000) {}

std::uint32_t DemoMode::random(std::uint32_t bound) {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return bound == 0 ? 0 : state_ % bound;
}

// A random port holding one of the types (any type when the list is empty) and, when asked,
// on a bus; -1 when there is none.
int DemoMode::random_port(const GatewayModel& model, std::initializer_list<int> types,
                          bool connected) {
  std::vector<int> candidates;
  for (int p = 0; p < kPortCount; ++p) {
    const Port& port = model.port(p);
    if (port.mod_type == 0) continue;
    if (types.size() != 0 && std::find(types.begin(), types.end(), port.mod_type) == types.end()) {
      continue;
    }
    if (connected != (port.bus != kNone)) continue;
    candidates.push_back(p);
  }
  if (candidates.empty()) return -1;
  return candidates[random(static_cast<std::uint32_t>(candidates.size()))];
}

std::string DemoMode::pick_activity(const GatewayModel& model) {
  switch (random(6)) {
    case 0:
    case 1: {  // a radio opens or closes its squelch
      const int port = random_port(model, {1, 4}, random(2) == 0);
      if (port < 0) break;
      return "cor " + hex_mask(model.activity(Indicator::kCor) ^ (1u << port));
    }
    case 2: {  // an operator keys a radio, or lets go
      const int port = random_port(model, {1, 4}, random(2) == 0);
      if (port < 0) break;
      return "ptt " + hex_mask(model.activity(Indicator::kPtt) ^ (1u << port));
    }
    case 3: {  // a telephone line rings, or stops ringing
      const int port = random_port(model, {3}, false);
      if (port < 0) break;
      return "ring " + hex_mask(model.activity(Indicator::kRing) ^ (1u << port));
    }
    case 4: {  // someone at the gateway joins two idle ports
      const int a = random_port(model, {}, false);
      const int b = random_port(model, {}, false);
      if (a < 0 || b < 0 || a == b) break;
      return "connect " + std::to_string(a) + " " + std::to_string(b);
    }
    default: {  // or breaks a connection
      const int port = random_port(model, {}, true);
      if (port < 0) break;
      return "disc " + std::to_string(port);
    }
  }
  return {};
}

std::vector<std::string> DemoMode::take_due(std::uint64_t now_ms, const GatewayModel& model) {
  std::vector<std::string> commands;
  if (now_ms < next_at_) return commands;
  std::string command = pick_activity(model);
  if (!command.empty()) commands.push_back(std::move(command));
  next_at_ = now_ms + 2000 + random(3001);
  return commands;
}

}  // namespace mav::sim
