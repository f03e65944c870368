// Reading a record's monitor list. A list from a damaged file may lack its end mark; it then
// counts as full and is never read past its 27 slots. Any thread, on a record copy.
#pragma once

#include "model/PortRecord.h"

namespace mav {

int MonitorEntries(const PortRecord& record);                // entries before the end mark
bool ListsMonitor(const PortRecord& record, int monitored);  // stands before the end mark

}  // namespace mav
