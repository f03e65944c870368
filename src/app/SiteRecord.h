// What the operator named and chose for the 26 ports of one connection: a record of "Sites.cfg".
// The serial connection uses address 0.0.0.0 and port 0. The struct's byte image (20004 bytes,
// little-endian, natural alignment) is the file record; every offset is pinned below.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#include "model/PortRecord.h"

namespace mav {

inline constexpr std::uint8_t kNoIconEntry = 255;  // icon_color of a port without a module

struct SiteRecord {
  std::uint8_t address[4];  // first byte = first number of the dotted form
  std::int32_t port;
  std::uint8_t icon_color[kPortCount];
  char port_name[kPortCount][kTextFieldSize];
  char icon_path[kPortCount][kTextFieldSize];  // empty = preset icon
  char template_names[kPortCount][kTextFieldSize];

  bool same_connection(const SiteRecord& other) const;
};

static_assert(std::endian::native == std::endian::little);
static_assert(sizeof(SiteRecord) == 20004);
static_assert(offsetof(SiteRecord, port) == 4);
static_assert(offsetof(SiteRecord, icon_color) == 8);
static_assert(offsetof(SiteRecord, port_name) == 34);
static_assert(offsetof(SiteRecord, icon_path) == 6690);
static_assert(offsetof(SiteRecord, template_names) == 13346);

// An all-empty record for the given connection.
SiteRecord empty_site_record(const std::uint8_t (&address)[4], std::int32_t port);

}  // namespace mav
