#include "modules/ui/ModuleSettingsOpener.h"

#include <utility>

namespace mav {

ModuleSettingsOpener::ModuleSettingsOpener(ModuleOpenerParts parts) : parts_(std::move(parts)) {}

void ModuleSettingsOpener::open_module_settings(int port, bool mark_open, QWidget* parent) {
  PortRecord working_copy{};
  if (!parts_.dialog.model.GetPort(port, working_copy)) return;
  if (module_table(working_copy.mod_type) == nullptr) return;

  ModuleSettingsDialog dialog(parts_.dialog, port, working_copy, parts_.template_name(port),
                              parent);
  if (mark_open) {
    open_ = &dialog;
    parts_.session.dialog_port.store(port);
  }
  parts_.dialog.prompts.run_dialog(dialog);
  if (parts_.dialog.features.dialog_closed) parts_.dialog.features.dialog_closed();
  if (mark_open) {
    parts_.session.dialog_port.store(-1);
    open_ = nullptr;
  }
}

void ModuleSettingsOpener::open_for_service(
    int port, const PortRecord& working_copy,
    std::function<void(int port, const PortRecord& chosen)> send, QWidget* parent) {
  ModuleDialogParts parts = parts_.dialog;
  parts.features = {};
  parts.features.send_settings = std::move(send);
  ModuleSettingsDialog dialog(parts, port, working_copy, {}, parent);
  parts.prompts.run_dialog(dialog);
}

void ModuleSettingsOpener::refresh(int port) {
  if (open_ != nullptr && open_->port() == port && parts_.session.dialog_port.load() == port) {
    open_->refresh();
  }
}

}  // namespace mav
