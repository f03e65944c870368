// The configuration commands of a console attached to a service: Load Configuration (by the
// name of a file in the service's Configurations folder), Restore Last Config, Restore from
// History and Revert. Each asks the operator what the controller asks, with the service's preview
// of the changes, and then becomes the service's request. UI thread.
#pragma once

#include <string>

#include "app/ui/ConsoleRequests.h"
#include "app/ui/MainWindow.h"
#include "platform/qt/OperatorPrompts.h"

namespace mav {

class ConsoleConfigCommands {
 public:
  // window: the questions and the history dialog; prompts: the file name's dialog.
  ConsoleConfigCommands(ConsoleRequests& requests, MainWindow& window, OperatorPrompts& prompts);

  // True when the command is one of them (and has been started).
  bool take(int command_id);

 private:
  void load_configuration();
  void restore_last();
  void restore_from_history(const ServiceAnswer& listed);
  // Asks with the preview's changes, then sends the request itself.
  void confirm_and_send(ControlOp op, const ControlArguments& arguments, const std::string& text,
                        const ServiceAnswer& preview);

  ConsoleRequests& requests_;
  MainWindow& window_;
  OperatorPrompts& prompts_;
};

}  // namespace mav
