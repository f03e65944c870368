// Opens the settings dialog of a port's module, modally, and carries the gateway's answers to
// the one that is open. UI thread.
#pragma once

#include <functional>
#include <string>

#include "modules/ui/ModuleSettingsDialog.h"
#include "protocol/SessionState.h"

namespace mav {

struct ModuleOpenerParts {
  ModuleDialogParts dialog;
  SessionState& session;  // its dialog_port tells the dispatcher which port's answers to pass on
  std::function<std::string(int port)> template_name;  // last template of a port, may be empty
};

class ModuleSettingsOpener {
 public:
  explicit ModuleSettingsOpener(ModuleOpenerParts parts);

  // The dialog of the port's module type over parent, until OK or Cancel; nothing for a port
  // without a known module. mark_open: the dialog reloads its lists when the gateway answers
  // its port's voice prompt delay (a dialog opened by the second click on a selected port);
  // without it the dialog never reloads.
  void open_module_settings(int port, bool mark_open, QWidget* parent);

  // The dialog of a port a service holds, filled from `working_copy`: OK and Apply hand the
  // chosen record to `send`; the template, icon and dial buttons, which work on this program's
  // own link, do nothing.
  void open_for_service(int port, const PortRecord& working_copy,
                        std::function<void(int port, const PortRecord& chosen)> send,
                        QWidget* parent);

  // The gateway answered a port's voice prompt delay. Reaches the dialog only while the same
  // marked dialog is still open for that port (the call was queued and may arrive late).
  void refresh(int port);

 private:
  ModuleOpenerParts parts_;
  ModuleSettingsDialog* open_ = nullptr;  // the marked dialog while it is shown
};

}  // namespace mav
