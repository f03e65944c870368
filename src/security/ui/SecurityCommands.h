// The security subsystem's menu commands, "PIN Settings..." and "Password Protection...", and the
// password guard that other subsystems put in front of the actions it protects. UI thread.
#pragma once

#include <QWidget>
#include <atomic>
#include <functional>
#include <string_view>

#include "frontend/CommandRegistry.h"
#include "model/DeviceModel.h"
#include "platform/qt/OperatorPrompts.h"
#include "security/PasswordRules.h"
#include "security/PinTable.h"
#include "security/ui/PasswordGuard.h"

namespace mav {

// Everything the commands work with; each outlives them.
struct SecurityParts {
  PinTable& pins;
  std::atomic<int>& security_mode;  // the gateway's last report, by value-word index
  const DeviceModel& model;
  ProtectionStore& store;
  OperatorPrompts& prompts;
  // Hands one command line to the gateway, expecting a reply.
  std::function<void(std::string_view line)> send_line;
  QWidget& owner;
};

class SecurityCommands {
 public:
  explicit SecurityCommands(const SecurityParts& parts);

  void register_commands(CommandRegistry& registry);
  PasswordGuard& guard() { return guard_; }

 private:
  void open_pin_settings();
  void open_password_protection();

  SecurityParts parts_;
  PasswordGuard guard_;
  bool pin_settings_open_ = false;
};

}  // namespace mav
