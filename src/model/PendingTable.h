// Commands sent to the gateway that wait for their reply: 256 slots of (kind, port, data1,
// data2). The worker thread (reply handlers) and the user-interface thread (gestures,
// configuration loads) both use it; every operation holds the table's mutex. Any thread.
#pragma once

#include <cstdint>
#include <mutex>

namespace mav {

class PendingTable {
 public:
  static constexpr int kSlotCount = 256;
  // A "CONNECT_S" waits; data1 = the connect step given to the port, data2 = 0.
  static constexpr std::uint8_t kConnectWaits = 1;
  // A "DISCH" waits; data1 = the DISCH step, data2 = the port's pending partner.
  static constexpr std::uint8_t kDischWaits = 3;
  // No port: a kConnectWaits entry for it asks the next CONNECT_S reply to open the dial dialog.
  static constexpr std::uint8_t kDialMarkerPort = 122;

  PendingTable() = default;

  // Frees every slot.
  void Clear();
  // Stores the entry in the lowest free slot; false when all slots are taken (the entry is lost)
  // or kind is 0, which marks a free slot.
  bool Add(std::uint8_t kind, std::uint8_t port, std::uint8_t data1, std::uint8_t data2);
  // Frees the lowest slot holding kind and port and hands back its data; false when none does.
  bool Take(std::uint8_t kind, std::uint8_t port, std::uint8_t& data1, std::uint8_t& data2);

 private:
  static constexpr std::uint8_t kFree = 0;

  std::mutex mutex_;
  std::uint8_t kind_[kSlotCount] = {};
  std::uint8_t port_[kSlotCount] = {};
  std::uint8_t data1_[kSlotCount] = {};
  std::uint8_t data2_[kSlotCount] = {};
};

}  // namespace mav
