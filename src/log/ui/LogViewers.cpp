#include "log/ui/LogViewers.h"

#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
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
    show_in_own_window(report);
  }
}

void LogViewers::view_entire_log() {
  const std::filesystem::path copy = parts_.log.log_directory() / kLogCopyName;
  if (!copy_entire_log(parts_.log, copy)) {
    tell("File Error", "View Log Failed");
  } else if (!open_with_desktop_viewer(copy)) {
    show_in_own_window(copy);
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

void LogViewers::show_in_own_window(const std::filesystem::path& file) {
  if (!window_) {
    window_ = new QPlainTextEdit(&parts_.owner);
    window_->setObjectName("logWindow");
    window_->setWindowFlag(Qt::Window);
    window_->setReadOnly(true);
    window_->setLineWrapMode(QPlainTextEdit::NoWrap);
    window_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    window_->resize(720, 600);
  }
  // The title names the file, so the operator can also find it elsewhere.
  const QString path = QString::fromStdString(file.string());
  window_->setWindowTitle(path);
  QFile text(path);
  window_->setPlainText(text.open(QIODevice::ReadOnly) ? QString::fromUtf8(text.readAll())
                                                       : QString());
  window_->show();
  window_->raise();
  window_->activateWindow();
}

void LogViewers::tell(const std::string& text, const char* caption) {
  parts_.prompts.tell({text, caption, MessageIcon::Exclamation, true}, &parts_.owner);
}

}  // namespace mav
