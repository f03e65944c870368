// The compact text of a port's monitor list ("1-4,9"), shown under the port's name. Any thread.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace mav {

// Reads entries up to the PORT_NONE end mark or the end of the span, sorts them and joins runs
// of consecutive numbers with "-". Numbers are written as stored.
std::string FormatMonitorList(std::span<const std::uint8_t> list);

}  // namespace mav
