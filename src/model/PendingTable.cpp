#include "model/PendingTable.h"

namespace mav {

void PendingTable::Clear() {
  std::lock_guard lock(mutex_);
  for (int slot = 0; slot < kSlotCount; ++slot) {
    kind_[slot] = kFree;
    data1_[slot] = 0;
    data2_[slot] = 0;
  }
}

bool PendingTable::Add(std::uint8_t kind, std::uint8_t port, std::uint8_t data1,
                       std::uint8_t data2) {
  if (kind == kFree) return false;
  std::lock_guard lock(mutex_);
  for (int slot = 0; slot < kSlotCount; ++slot) {
    if (kind_[slot] != kFree) continue;
    kind_[slot] = kind;
    port_[slot] = port;
    data1_[slot] = data1;
    data2_[slot] = data2;
    return true;
  }
  return false;
}

bool PendingTable::Take(std::uint8_t kind, std::uint8_t port, std::uint8_t& data1,
                        std::uint8_t& data2) {
  if (kind == kFree) return false;
  std::lock_guard lock(mutex_);
  for (int slot = 0; slot < kSlotCount; ++slot) {
    if (kind_[slot] != kind || port_[slot] != port) continue;
    kind_[slot] = kFree;
    data1 = data1_[slot];
    data2 = data2_[slot];
    return true;
  }
  return false;
}

}  // namespace mav
