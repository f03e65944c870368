// Record-level helpers for the ports a connection reply lists. Worker thread.
#pragma once

#include <cstdint>

#include "link/ParsedReply.h"
#include "model/DeviceModel.h"
#include "protocol/ReplyList.h"

namespace mav {

// Applies change to the record of every listed port (ports outside 0..25 skipped).
template <typename Change>
void update_listed(DeviceModel& model, const ParsedReply& reply, Change change) {
  for (std::uint16_t port : listed_numbers(reply)) model.Update(port, change);
}

// The field of the first listed port that holds a group there; GROUP_NONE when none does.
inline int first_listed(const DeviceModel& model, const ParsedReply& reply,
                        std::int16_t PortRecord::*field) {
  PortRecord record;
  for (std::uint16_t port : listed_numbers(reply)) {
    if (model.GetPort(port, record) && record.*field != GROUP_NONE) return record.*field;
  }
  return GROUP_NONE;
}

// A finished connection step: nothing of the change waits any more.
inline void clear_steps(PortRecord& record, bool keep_partner = false) {
  record.connect_step = 0;
  record.disch_step = 0;
  if (!keep_partner) record.pending_partner = PORT_NONE;
}

}  // namespace mav
