// A link channel connected to a peer on 127.0.0.1, and a flood of replies from that peer.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>

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

// The peer sends 100 000 copies of "%TX_LEVEL 05 3 E0" and closes, while the UI side carries
// notifications until the channel closes. Returns the most lines the ring ever held unread, or
// nothing when the channel did not close in time.
inline std::optional<std::uint32_t> flood_until_closed(LinkRig& rig, LoopbackPeer& peer) {
  std::string burst;
  for (int i = 0; i < 1000; ++i) burst += "%TX_LEVEL 05 3 E0\r";
  std::thread gateway([&] {
    for (int round = 0; round < 100; ++round) peer.send(burst);
    peer.close_connection();
  });
  std::uint32_t most_unread = 0;
  const bool closed = eventually(
      [&] {
        rig.pump.run_once(10);
        most_unread = std::max(most_unread, rig.channel.received_lines().unread());
      },
      [&] { return !rig.channel.is_open(); }, std::chrono::seconds(120));
  gateway.join();
  if (!closed) return std::nullopt;
  return most_unread;
}

}  // namespace mav::test
