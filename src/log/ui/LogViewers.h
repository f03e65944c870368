// The log's menu commands: View Recent Log and View Entire Log write their file and hand it to
// the desktop's text viewer without waiting for it, or, on a desktop without one, show it in a
// window of the program's own that names the file; New Log lets the operator choose another log
// file. UI thread.
#pragma once

#include <QPlainTextEdit>
#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <string>

#include "frontend/CommandRegistry.h"
#include "log/EventLog.h"
#include "platform/qt/OperatorPrompts.h"

namespace mav {

// Everything the commands work with; each outlives them.
struct LogViewerParts {
  EventLog& log;
  std::filesystem::path program_directory;
  OperatorPrompts& prompts;
  QWidget& owner;
  // Keeps the chosen log file in the preferences and saves them.
  std::function<void(const std::string& path)> remember_log_file;
};

class LogViewers {
 public:
  explicit LogViewers(LogViewerParts parts);

  void register_commands(CommandRegistry& registry);

 private:
  void view_recent_log();
  void view_entire_log();
  void select_new_log();
  // The file's text in the program's own read-only window, titled with the file's path.
  void show_in_own_window(const std::filesystem::path& file);
  void tell(const std::string& text, const char* caption);

  LogViewerParts parts_;
  QPointer<QPlainTextEdit> window_;  // made on first use
};

}  // namespace mav
