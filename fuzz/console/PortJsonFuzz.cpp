// Arbitrary lines from a service read as a port and as a list of nets. Nothing may escape the
// readers, and whatever they take writes back out and reads again to the same records.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "console/PortJson.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto value = nlohmann::json::parse(data, data + size, nullptr, false);
  mav::PortRecord records[mav::kPortCount]{};
  mav::LockOwners locks{};
  const int port = mav::read_port_json(value, records, locks);
  if (port >= 0) {
    const mav::PortRecord read = records[port];
    const auto again = nlohmann::json::parse(mav::port_json(port, read, locks[port]).dump());
    if (mav::read_port_json(again, records, locks) != port ||
        std::memcmp(&read, &records[port], sizeof read) != 0)
      __builtin_trap();
  }
  if (mav::read_nets_json(value, records) &&
      !mav::read_nets_json(nlohmann::json::parse(mav::nets_json(records).dump()), records))
    __builtin_trap();
  return 0;
}
