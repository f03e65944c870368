// The controller attached to a gateway service instead of a gateway: the service's client on its
// own socket notifiers, the model kept from its snapshot and events and mirrored into the model
// the window draws, and the gestures' and menu commands' requests. What needs the gateway's own
// link is the service's: those commands only explain why they do nothing. UI thread.
#pragma once

#include <string>

#include "app/ui/ConsoleConfigCommands.h"
#include "app/ui/ConsoleRequests.h"
#include "app/ui/MainWindow.h"
#include "console/RemoteActions.h"
#include "console/RemoteModel.h"
#include "console/RemotePatchActions.h"
#include "console/ServiceClient.h"
#include "console/ServicesFile.h"
#include "matrix/MatrixGestures.h"
#include "matrix/ui/MatrixWidget.h"
#include "modules/ui/ModuleSettingsOpener.h"
#include "platform/qt/NotifierSocketHost.h"
#include "trace/ProtocolTrace.h"

namespace mav {

// What the console shows in; each outlives it.
struct ConsoleParts {
  DeviceModel& model;  // the window's, a copy of the service's
  MatrixGestures& gestures;
  MatrixWidget& matrix;
  MainWindow& window;
  ModuleSettingsOpener& module_settings;
  OperatorPrompts& prompts;
  ProtocolTrace& trace;  // names each change with its actor, as the status line does
};

class ConsoleSession final : public WindowConsole {
 public:
  // Opens the connection to the service at once; it keeps trying while the session lives.
  ConsoleSession(const ConsoleParts& parts, const ServiceEntry& service);
  ConsoleSession(const ConsoleSession&) = delete;
  ConsoleSession& operator=(const ConsoleSession&) = delete;
  ~ConsoleSession() override;

  const ServiceClient& client() const { return client_; }

  // WindowConsole
  bool take_command(int command_id) override;
  bool take_module_settings(int port) override;
  std::string link_text() const override;

 private:
  void on_change(const std::string& actor);
  void on_link(ServiceLink link, const std::string& why);
  void show_title();
  void show_status(const std::string& text);
  // The service's answer to settings.get, shown in the port's dialog.
  void open_settings(int port, const ServiceAnswer& answer);

  ConsoleParts p_;
  const std::string address_;
  NotifierSocketHost host_{client_};  // only stores the reference until the client is made
  ServiceClient client_;
  RemoteModel remote_{client_};
  RemoteActions actions_;
  RemotePatchActions patch_;
  ConsoleRequests requests_;
  ConsoleConfigCommands config_commands_;
};

}  // namespace mav
