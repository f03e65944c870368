#include "security/ui/SecurityCommands.h"

#include "frontend/MenuIds.h"
#include "security/ui/PasswordDialog.h"
#include "security/ui/SecurityDialog.h"

namespace mav {

SecurityCommands::SecurityCommands(const SecurityParts& parts)
    : parts_(parts), guard_(parts.store, parts.prompts, parts.owner) {}

void SecurityCommands::register_commands(CommandRegistry& registry) {
  registry.add(menu::kPinSettings, [this] { open_pin_settings(); });
  registry.add(menu::kPasswordProtection, [this] { open_password_protection(); });
}

void SecurityCommands::open_pin_settings() {
  // The command also reaches here while its own dialog is open; it then does nothing at all.
  if (pin_settings_open_ || !guard_.confirm_password(Guard::PinSettings)) return;
  pin_settings_open_ = true;
  SecurityDialog dialog(parts_.pins, parts_.security_mode.load(), parts_.model, &parts_.owner);
  if (parts_.prompts.run_dialog(dialog) == QDialog::Accepted) {
    const PinSettingsOrder order = dialog.order();
    // The entries are written before the lines leave, so the gateway's answers always find them:
    // its answer to "DEL_PIN ALL" frees every entry, and its answers to the PIN lines mark the
    // sent ones used again. Entries past the sent ones keep their contents and end up free.
    for (std::size_t k = 0; k < order.entries.size(); ++k) {
      const PinUser& user = order.entries[k];
      parts_.pins.set_entry(static_cast<int>(k), user.name, user.pin, user.level);
    }
    if (order.mode) parts_.security_mode.store(*order.mode);
    for (const std::string& line : order.lines) parts_.send_line(line);
  }
  pin_settings_open_ = false;
  parts_.store.save_preferences();
}

void SecurityCommands::open_password_protection() {
  if (!guard_.confirm_password_settings()) return;
  PasswordDialog dialog(parts_.store, parts_.prompts, &parts_.owner);
  parts_.prompts.run_dialog(dialog);
}

}  // namespace mav
