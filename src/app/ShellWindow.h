// What the application asks of its main window on the UI thread: the title, menu marks, the
// recent-connection items, repaints, and the modal boxes and dialogs an operator's command opens.
// The Qt main window implements it. UI thread only; the modal calls wait for the operator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frontend/Frontend.h"

namespace mav {

class ShellWindow {
 public:
  virtual ~ShellWindow() = default;

  virtual void set_title(const std::string& title) = 0;
  virtual void set_menu_check(int command_id, bool checked) = 0;
  virtual bool menu_checked(int command_id) const = 0;
  // Replaces the recent-connection items of the Connect menu (ids 50000 + index).
  virtual void show_recent_connections(const std::vector<std::string>& labels) = 0;
  virtual void repaint_matrix() = 0;

  // Modal: an information or error box, and a Yes/No question (true for Yes).
  virtual void tell(const MessageBoxRequest& box) = 0;
  virtual bool ask_yes_no(const MessageBoxRequest& box) = 0;
  // The window-title dialog; empty when cancelled or left empty.
  virtual std::string ask_custom_title() = 0;
  // The serial port selection dialog, offered when the start-up port cannot be opened; start-up
  // goes on once the operator has closed it.
  virtual void offer_serial_port_selection() = 0;
  // The port's module settings dialog, modal; mark_open lets the gateway's answers refresh it.
  virtual void open_module_settings(int port, bool mark_open) = 0;
};

}  // namespace mav
