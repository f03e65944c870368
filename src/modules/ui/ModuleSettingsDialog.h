// The module settings dialog of one port, laid out from the module's table: the port's name and
// icon, one drop-down list per setting in its group, and the module's extra buttons. It works on
// a working copy of the port's record: OK and Apply store the chosen record in the model and hand
// what differs from the working copy to the settings writer; the gateway's answers come back
// through refresh(). UI thread.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "frontend/Frontend.h"
#include "link/LineSender.h"
#include "matrix/CustomIcons.h"
#include "model/DeviceModel.h"
#include "modules/ModuleSettingsTable.h"
#include "modules/SettingsWriter.h"
#include "platform/qt/OperatorPrompts.h"
#include "protocol/SessionState.h"

namespace mav {

// Features other parts of the program lend the dialog; an empty one is a feature not there yet,
// and its button then does nothing.
struct ModuleDialogFeatures {
  // Writes the port's working copy to a template file the operator picks; the file's name when
  // saved.
  std::function<std::optional<std::string>(int port, const PortRecord& working_copy)> save_template;
  // Reads a template into the working copy and sends it for the port.
  std::function<void(int port, PortRecord& working_copy)> load_template;
  // The operator picks a custom icon file; its path, or nothing when cancelled.
  std::function<std::optional<std::string>(QWidget* owner)> select_custom_icon;
  // The telephone dial dialog of a LINE-7 port, modal over the owner.
  std::function<void(int port, QWidget* owner)> open_dial;
  // The title of a template loaded since the dialog opened, which also becomes the port's
  // template name; nothing when none was.
  std::function<std::optional<std::string>(int port)> loaded_template_name;
  // The dialog has closed: a later dialog starts without a loaded template.
  std::function<void()> dialog_closed;
  // Where OK and Apply hand the chosen record when a service holds the gateway's link: the
  // model and the lines are then the service's, and Cancel releases no line either.
  std::function<void(int port, const PortRecord& chosen)> send_settings;
};

// Everything the dialog works with; each outlives it.
struct ModuleDialogParts {
  DeviceModel& model;
  LineSender& sender;
  SettingsWriter& writer;
  const SessionState& session;  // the handset squelch type the gateway reported
  CustomIcons& icons;
  Frontend& screen;                         // repaints the matrix after OK
  OperatorPrompts& prompts;                 // the dialog itself and its message boxes
  std::filesystem::path program_directory;  // where "Templates" is
  std::filesystem::path shared_directory;   // where "VOQ_Help.pdf" is
  ModuleDialogFeatures features;
};

class ModuleSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  // working_copy: the model's record of the port at opening; its mod_type picks the layout (a
  // type without a table gives an empty dialog). template_name: the last template loaded or
  // saved for the port, shown by the VOQ-3 dialog.
  ModuleSettingsDialog(const ModuleDialogParts& parts, int port, const PortRecord& working_copy,
                       const std::string& template_name, QWidget* parent);

  int port() const { return port_; }
  const PortRecord& working_copy() const { return working_; }
  // The gateway has answered: the working copy is taken anew from the model and every list
  // shows it. Name, icon and colour are left as they are.
  void refresh();

  void reject() override;  // Cancel, Escape and closing the window

 private:
  QLayout* build(const ModuleTable& table);
  QWidget* control_for(int id);
  QPushButton* add_button(int id, const char* caption, void (ModuleSettingsDialog::*slot)());
  void show_settings(const ModuleSettings& settings);
  void show_mek_squelch();
  void update_enabled_states();
  void read_lists(ModuleSettings& settings);
  void store_icon(PortRecord& target);
  bool disconnect_two_wire_line(PortRecord& target);
  void send_port_command(const char* keyword);
  void store_and_send(bool closing);
  void next_colour();
  void save_template();
  void load_template();
  void select_custom_icon();
  void hang_up();
  void dial();
  void open_help();
  void open_application_notes();
  void show_document(const std::filesystem::path& file);
  void show_template_name(const std::string& name);

  ModuleDialogParts parts_;
  const int port_;
  PortRecord working_;
  const ModuleTable* table_;
  bool line_connected_ = false;
  std::map<int, QComboBox*> lists_;
  QLineEdit* name_ = nullptr;
  QRadioButton* preset_ = nullptr;
  QRadioButton* custom_ = nullptr;
  QPushButton* colour_ = nullptr;
  QLineEdit* icon_path_ = nullptr;
  QLineEdit* template_name_ = nullptr;
};

}  // namespace mav
