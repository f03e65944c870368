// A link channel connected to a peer on 127.0.0.1.
#pragma once

#include <cstdint>

#include "support/Eventually.h"
#include "support/LinkRig.h"
#include "support/LoopbackPeer.h"

namespace mav::test {

inline constexpr std::uint8_t kLoopback[4] = {127, 0, 0, 1};

// Opens the channel to the peer and carries notifications until the connect is reported.
inline bool connect_to(LinkRig& rig, LoopbackPeer& peer) {
  return rig.channel.open_network(kLoopback, peer.port()) && peer.accept_connection() &&
         eventually([&] { rig.pump.run_once(10); }, [&] { return rig.channel.is_ready(); });
}

}  // namespace mav::test
