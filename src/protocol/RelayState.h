// The RELAY report: every port's net, link and DISCH group packed into one byte, 32 bytes as
// lower-case hex after "RELAY ". A network gateway keeps its relay outputs in step with it and
// sends the same packing back. Any thread.
#pragma once

#include "model/DeviceModel.h"

namespace mav {

inline constexpr int kRelayLineLength = 71;  // "RELAY ", 64 hex digits, "\r"

// Writes the line (NUL-terminated, kRelayLineLength characters) for the model as it stands.
void format_relay_line(const DeviceModel& model, char (&line)[kRelayLineLength + 1]);

// Stores net, bus, link and DISCH group of ports 0..25 from a RELAY text; a byte that is short
// or holds other characters than digits and a..f counts as 0 (no groups).
void apply_relay_text(DeviceModel& model, const char* text, int text_size);

}  // namespace mav
