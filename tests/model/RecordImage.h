// Helpers for tests that look at a PortRecord as the bytes that go into configuration files,
// and for building port tables by hand.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

#include "model/DeviceModel.h"
#include "model/PortRecord.h"

namespace mav::test {

using RecordImage = std::array<std::uint8_t, sizeof(PortRecord)>;

inline RecordImage ImageOf(const PortRecord& record) {
  RecordImage image;
  std::memcpy(image.data(), &record, image.size());
  return image;
}

inline std::uint32_t U16At(const RecordImage& image, std::size_t offset) {
  return static_cast<std::uint32_t>(image[offset] | (image[offset + 1] << 8));
}

inline std::uint32_t U32At(const RecordImage& image, std::size_t offset) {
  return static_cast<std::uint32_t>(image[offset]) |
         static_cast<std::uint32_t>(image[offset + 1]) << 8 |
         static_cast<std::uint32_t>(image[offset + 2]) << 16 |
         static_cast<std::uint32_t>(image[offset + 3]) << 24;
}

inline PortRecord RecordOf(const DeviceModel& model, int port) {
  PortRecord record{};
  model.GetPort(port, record);
  return record;
}

// Puts a module on a port with the given groups; everything else as the model holds it.
struct Placement {
  std::int16_t bus = GROUP_NONE;
  std::int16_t link = GROUP_NONE;
  std::int16_t net = GROUP_NONE;
  std::int16_t disch = GROUP_NONE;
  std::uint32_t mod_type = MOD_TOV5;
};

inline void Place(DeviceModel& model, int port, const Placement& placement) {
  PortRecord record = RecordOf(model, port);
  record.mod_type = placement.mod_type;
  record.bus = placement.bus;
  record.bus_link = placement.link;
  record.net = placement.net;
  record.disch_group = placement.disch;
  model.SetPort(port, record);
}

}  // namespace mav::test
