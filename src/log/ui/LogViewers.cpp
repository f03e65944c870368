#include "log/ui/LogViewers.h"

#include <QFileDialog>
#include <system_error>
#include <utility>

#include "frontend/MenuIds.h"
#include "log/LogReports.h"
#include "platform/qt/DesktopOpen.h"

namespace mav {

LogViewers::LogViewers(LogViewerParts parts) : parts_(std::move(parts)) {}

void LogViewers::register_commands(CommandRegistry& registry) {
  registry.add(menu::kViewRecentLog, [this] { view_recent_log(); });
  registry.add(menu::kViewEntireLog, [this] { view_entire_log(); });
  registry.add(menu::kNewLog, [this] { select_new_log(); });
}

void LogViewers::view_recent_log() {
  const std::filesystem::path report = parts_.program_directory / kRecentReportName;
  if (!write_recent_report(parts_.log, report)) {
    tell("File Error", "View Log Failed");
  } else if (!open_with_desktop_viewer(report)) {
    tell(kNoTextViewerText, "MAV Controller");
  }
}

void LogViewers::view_entire_log() {
  const std::filesystem::path copy = parts_.log.log_directory() / kLogCopyName;
  if (!copy_entire_log(parts_.log, copy)) {
    tell("File Error", "View Log Failed");
  } else if (!open_with_desktop_viewer(copy)) {
    // Without a viewer the operator must at least learn where the copy is.
    tell(std::string(kNoTextViewerText) + "\r" + copy.string(), "MAV Controller");
  }
}

void LogViewers::select_new_log() {
  std::error_code ignored;
  std::filesystem::create_directories(parts_.log.log_directory(), ignored);
  QFileDialog dialog(&parts_.owner, "Select new Log file",
                     QString::fromStdString(parts_.log.log_directory().string()),
                     "Log files (*.LOG *.log)");
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix("log");
  const bool chosen =
      parts_.prompts.run_dialog(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
  if (!chosen) {
    tell("No new log file selected", "Warning");
    return;
  }
  const std::string path = dialog.selectedFiles().front().toStdString();
  parts_.remember_log_file(path);
  start_new_log(parts_.log, path);
}

void LogViewers::tell(const std::string& text, const char* caption) {
  parts_.prompts.tell({text, caption, MessageIcon::Exclamation, true}, &parts_.owner);
}

}  // namespace mav
