// Helpers for tests that look at a PortRecord as the bytes of a configuration file record, and
// for building port tables by hand.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <initializer_list>

#include "model/DeviceModel.h"

namespace mav::test {

using RecordImage = std::array<std::uint8_t, sizeof(PortRecord)>;

inline RecordImage ImageOf(const PortRecord& record) {
  RecordImage image;
  std::memcpy(image.data(), &record, image.size());
  return image;
}

inline PortRecord RecordOf(const DeviceModel& model, int port) {
  PortRecord record{};
  model.GetPort(port, record);
  return record;
}

// A module on a port with the given groups; everything else as the model holds it.
struct Placement {
  std::int16_t bus = GROUP_NONE, link = GROUP_NONE, net = GROUP_NONE, disch = GROUP_NONE;
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
