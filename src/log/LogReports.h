// The files the log viewers hand to the desktop's text viewer, and the switch to another log
// file. The report and the copy are written from the log's own state; the viewer that shows them
// is the caller's. Any thread.
#pragma once

#include <filesystem>
#include <string>

#include "log/EventLog.h"

namespace mav {

inline constexpr const char* kRecentReportName = "Recent.txt";  // in the program directory
inline constexpr const char* kLogCopyName = "MAVLog_tmp.txt";   // in the log directory

// Writes the ring to `report`, newest entry first, below its header. False when the file cannot
// be created.
bool write_recent_report(const EventLog& log, const std::filesystem::path& report);

// Copies the whole log file byte for byte to `copy`, so that a viewer can hold the copy open while
// entries keep arriving. False when either file cannot be opened.
bool copy_entire_log(const EventLog& log, const std::filesystem::path& copy);

// Makes `path` the log file of every later entry and starts it with the column header. A file that
// cannot be opened gets no header; the name is taken all the same.
void start_new_log(EventLog& log, const std::string& path);

}  // namespace mav
