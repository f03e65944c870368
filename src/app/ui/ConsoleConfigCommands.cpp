#include "app/ui/ConsoleConfigCommands.h"

#include <QInputDialog>

#include "frontend/MenuIds.h"

namespace mav {
namespace {

constexpr const char* kCaption = "MAV Controller";

ControlArguments file_arguments(const std::string& file, bool preview) {
  ControlArguments arguments;
  arguments.file = file;
  arguments.preview = preview;
  return arguments;
}

// The service's list of automatic saves as the history dialog shows it; a row without a file
// name that tells its time is skipped.
std::vector<HistoryRow> history_rows(const ServiceAnswer& answer) {
  std::vector<HistoryRow> rows;
  const auto list = answer.reply.find("history");
  if (list == answer.reply.end() || !list->is_array()) return rows;
  for (const auto& entry : *list) {
    if (!entry.is_object()) continue;
    const std::string file = entry.value("file", std::string{});
    const std::optional<HistoryTime> when = HistoryTimeOfName(file);
    if (!when) continue;
    rows.push_back({{file, *when}, {entry.value("modules", 0), entry.value("nets", 0)}});
  }
  return rows;
}

}  // namespace

ConsoleConfigCommands::ConsoleConfigCommands(ConsoleRequests& requests, MainWindow& window,
                                             OperatorPrompts& prompts)
    : requests_(requests), window_(window), prompts_(prompts) {}

bool ConsoleConfigCommands::take(int command_id) {
  switch (command_id) {
    case menu::kLoadConfiguration:
      load_configuration();
      return true;
    case menu::kRestoreLastConfig:
      restore_last();
      return true;
    case menu::kRestoreFromHistory:
      requests_.send(ControlOp::HistoryList, {},
                     [this](const ServiceAnswer& listed) { restore_from_history(listed); });
      return true;
    case menu::kRevertAfterConnectAll:
    case menu::kRevertAfterDisconnectAll:
      requests_.send(ControlOp::ConfigRevert, {});
      return true;
    default:
      return false;
  }
}

void ConsoleConfigCommands::load_configuration() {
  QInputDialog dialog(&window_);
  dialog.setWindowTitle("Load Configuration");
  dialog.setLabelText("Configuration file in the service's Configurations folder:");
  if (prompts_.run_dialog(dialog) != QDialog::Accepted) return;
  const std::string file = dialog.textValue().trimmed().toStdString();
  if (file.empty()) return;
  requests_.send(ControlOp::ConfigLoad, file_arguments(file, true),
                 [this, file](const ServiceAnswer& preview) {
                   confirm_and_send(ControlOp::ConfigLoad, file_arguments(file, false),
                                    "Load Configuration:\r" + file + "\rAre you sure?", preview);
                 });
}

void ConsoleConfigCommands::restore_last() {
  requests_.send(ControlOp::ConfigRestoreLast, file_arguments({}, true),
                 [this](const ServiceAnswer& preview) {
                   confirm_and_send(ControlOp::ConfigRestoreLast, {},
                                    "Restore to Last Configuration:\rAre you sure?", preview);
                 });
}

void ConsoleConfigCommands::restore_from_history(const ServiceAnswer& listed) {
  const std::optional<std::filesystem::path> chosen =
      window_.choose_from_history(history_rows(listed), [this](const std::filesystem::path& file) {
        return requests_.wait_for_changes(ControlOp::HistoryRestore,
                                          file_arguments(file.filename().string(), true));
      });
  if (chosen) {
    requests_.send(ControlOp::HistoryRestore, file_arguments(chosen->filename().string(), false));
  }
}

void ConsoleConfigCommands::confirm_and_send(ControlOp op, const ControlArguments& arguments,
                                             const std::string& text,
                                             const ServiceAnswer& preview) {
  const std::vector<std::string> changes = changes_of(preview);
  if (window_.ask_yes_no_showing_changes(
          {text, kCaption, MessageIcon::Question, true}, [changes] { return changes; }, false)) {
    requests_.send(op, arguments);
  }
}

}  // namespace mav
