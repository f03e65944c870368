// Who did what to the gateway: one JSON line per accepted request, appended to Logs/audit.jsonl
// beside the event log (readable by the service's user alone), and under systemd also to the
// journal with fields of its own so it can be filtered there.
#pragma once

#include <filesystem>
#include <string_view>

#include "platform/Clock.h"
#include "service/ControlMessages.h"

namespace mav {

// The service runs under systemd and the journal takes its records.
bool journal_wanted();

class AuditLog {
 public:
  // log_directory is "<program dir>/Logs"; it is made when the first line needs it.
  AuditLog(std::filesystem::path log_directory, const Clock& clock, bool to_journal);

  // False when the line could not be written (the journal is best effort).
  bool record(std::string_view actor, std::string_view origin, ControlOp op,
              const ControlArguments& arguments, std::string_view result);
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  const Clock& clock_;
  [[maybe_unused]] bool to_journal_;  // used only when built with the journal
};

}  // namespace mav
