#include "service/AuditLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <utility>

#ifdef MAV_HAVE_SYSTEMD
#include <systemd/sd-daemon.h>
#include <systemd/sd-journal.h>
#endif

namespace mav {

bool journal_wanted() {
#ifdef MAV_HAVE_SYSTEMD
  return std::getenv("JOURNAL_STREAM") != nullptr || sd_booted() > 0;
#else
  return false;
#endif
}

AuditLog::AuditLog(std::filesystem::path log_directory, const Clock& clock, bool to_journal)
    : path_(std::move(log_directory) / "audit.jsonl"), clock_(clock), to_journal_(to_journal) {}

bool AuditLog::record(std::string_view actor, std::string_view origin, ControlOp op,
                      const ControlArguments& arguments, std::string_view result) {
  const LocalTime t = clock_.local_time();
  char time[32];
  std::snprintf(time, sizeof time, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  const nlohmann::ordered_json given = control_arguments_json(op, arguments);
  const std::string line = dump_line(nlohmann::ordered_json{{"time", time},
                                                            {"actor", actor},
                                                            {"origin", origin},
                                                            {"op", control_op_name(op)},
                                                            {"arguments", given},
                                                            {"result", result}}) +
                           "\n";
#ifdef MAV_HAVE_SYSTEMD
  if (to_journal_) {
    const std::string message = std::string(actor) + " (" + std::string(origin) +
                                "): " + std::string(control_op_name(op)) + " " +
                                std::string(result);
    sd_journal_send("MESSAGE=%s", message.c_str(), "PRIORITY=6", "MAV_ACTOR=%.*s",
                    static_cast<int>(actor.size()), actor.data(), "MAV_ORIGIN=%.*s",
                    static_cast<int>(origin.size()), origin.data(), "MAV_OP=%s",
                    std::string(control_op_name(op)).c_str(), "MAV_ARGUMENTS=%s",
                    dump_line(given).c_str(), "MAV_RESULT=%.*s", static_cast<int>(result.size()),
                    result.data(), nullptr);
  }
#endif
  std::error_code ignored;
  std::filesystem::create_directories(path_.parent_path(), ignored);
  const int fd = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  // A file made by someone else's umask or copied in keeps no wider rights than its writer's.
  const bool written = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0 &&
                       ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
  ::close(fd);
  return written;
}

}  // namespace mav
