// Helpers for tests that look at a PortRecord as the bytes that go into configuration files,
// and for building port tables by hand.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "model/DeviceModel.h"
#include "model/PortRecord.h"

namespace mav::test {

using RecordImage = std::array<std::uint8_t, sizeof(PortRecord)>;

inline RecordImage ImageOf(const PortRecord& record) {
  RecordImage image;
  std::memcpy(image.data(), &record, image.size());
  return image;
}

// The little-endian number of width bytes at offset.
inline std::uint32_t FieldAt(const RecordImage& image, std::size_t offset, std::size_t width) {
  std::uint32_t value = 0;
  for (std::size_t i = width; i-- > 0;) value = value << 8 | image[offset + i];
  return value;
}

struct ImageField {
  std::size_t offset;
  std::size_t width;
  std::uint32_t value;
};

inline void ExpectFields(const RecordImage& image, std::initializer_list<ImageField> fields) {
  for (const ImageField& field : fields) {
    EXPECT_EQ(FieldAt(image, field.offset, field.width), field.value) << "offset " << field.offset;
  }
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
