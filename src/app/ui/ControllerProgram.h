// The whole program: one instance of each main object, created once and handed to whoever needs
// it by reference; the start-up in its fixed order, the message loop with the worker thread, and
// the shutdown that a closed window or a termination signal starts. UI thread.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <filesystem>
#include <memory>

#include "app/Application.h"
#include "app/RunConnection.h"
#include "app/ShellGestureHooks.h"
#include "app/ui/AutomationInterface.h"
#include "app/ui/ConsoleSession.h"
#include "app/ui/MainWindow.h"
#include "app/ui/SalvosWindow.h"
#include "app/ui/WindowFrontend.h"
#include "bridge/ui/OverviewWindow.h"
#include "engine/GatewayEngine.h"
#include "frontend/CommandRegistry.h"
#include "log/ui/LogViewers.h"
#include "matrix/MatrixGestures.h"
#include "matrix/MatrixPortView.h"
#include "matrix/SlideAnimator.h"
#include "matrix/ui/IconStore.h"
#include "matrix/ui/MatrixWidget.h"
#include "modules/ModuleTemplates.h"
#include "modules/ui/DialDialogOpener.h"
#include "modules/ui/ModuleFileDialogs.h"
#include "modules/ui/ModuleSettingsOpener.h"
#include "platform/Clock.h"
#include "platform/ProgramFolders.h"
#include "platform/qt/NotifierSocketHost.h"
#include "platform/qt/OperatorPrompts.h"
#include "platform/qt/QueuedFrontend.h"
#include "preferences/PreferenceSections.h"
#include "security/ui/SecurityCommands.h"
#include "trace/ui/TraceWindow.h"

namespace mav {

class ControllerProgram {
 public:
  // folders: where the program's own files live and where the read-only ones are found; run:
  // how this run connects at start-up.
  ControllerProgram(const ProgramFolders& folders, OperatorPrompts& prompts,
                    RunConnection run = {});
  ~ControllerProgram();

  // Start-up; false when the window cannot be made (the process then ends with exit code 1).
  bool init();
  // The message loop: starts the worker thread, runs until the window is gone, stops the worker
  // and closes the channel. The loop's exit code.
  int run();
  // Ends the program as File > Exit does, without the exit reminder. UI thread.
  void terminate();

  // Attaches the window to the gateway service instead of a gateway: the link to the gateway
  // closes and the matrix shows, and acts on, the service's model. Replaces an earlier attachment.
  void attach_service(const ServiceEntry& service);
  // Ends the attachment without a restart: the window's model is emptied and its own link opens
  // as at a start-up without a service.
  void detach_service();
  // The attachment in use; nullptr when the window works on the gateway's link.
  ConsoleSession* console() { return console_.get(); }

  // For the tests.
  MainWindow& window() { return *window_; }
  Application& application() { return app_; }
  GatewayEngine& engine() { return engine_; }
  LinkChannel& link() { return engine_.link(); }
  DeviceModel& model() { return engine_.model(); }
  EventLog& log() { return engine_.log(); }
  SessionState& session() { return engine_.session(); }
  CommandRegistry& commands() { return command_registry_; }
  PinTable& pins() { return engine_.pins(); }
  ProtectionStore& protection() { return sections_.protection(); }
  PhoneBookStore& phone_book() { return sections_.phone_book(); }
  MatrixGestures& gestures() { return *gestures_; }
  // The password check in front of the guarded actions.
  PasswordCheck& password_check() { return security_->guard(); }
  SettingsWriter& settings_writer() { return engine_.settings_writer(); }
  ConfigurationFiles& configurations() { return engine_.configurations(); }
  TraceWindow& trace_window() { return *trace_window_; }
  SalvosWindow& salvos_window() { return *salvos_window_; }
  AutomationInterface& automation() { return automation_; }

 private:
  // The settings dialogs' template, custom icon and dial buttons.
  ModuleDialogFeatures module_features();
  // Connect > Service...: the dialog, the remembered services, the attachment.
  void choose_service();
  // File > Save Salvo...: the name and ports asked for, the salvo saved or why not told.
  void save_salvo();

  QObject ui_object_;
  OperatorPrompts& prompts_;
  const RunConnection run_;
  SystemClock clock_;
  QueuedFrontend frontend_;
  AutomationInterface automation_;
  IconStore icons_;
  GatewayEngine engine_;
  NotifierSocketHost sockets_;
  CommandRegistry command_registry_;
  SiteTemplateNames template_names_;
  Application app_;
  PreferenceSections sections_;
  ShellGestureHooks gesture_hooks_;
  SlideAnimator slides_;
  MatrixPortView port_view_;
  DialDialogOpener dial_dialogs_;
  // The gestures outlive the widget that forwards the mouse to them.
  std::unique_ptr<MatrixGestures> gestures_;
  ModuleFileDialogs module_files_;
  ModuleTemplates templates_;
  std::unique_ptr<ModuleSettingsOpener> module_settings_;
  std::unique_ptr<MatrixWidget> matrix_;
  std::unique_ptr<MainWindow> window_;
  std::unique_ptr<WindowFrontend> screen_;  // where the core's screen calls end
  std::unique_ptr<SecurityCommands> security_;
  std::unique_ptr<LogViewers> log_viewers_;
  std::unique_ptr<TraceWindow> trace_window_;
  std::unique_ptr<OverviewWindow> overview_window_;
  std::unique_ptr<SalvoDesk> salvo_desk_;
  std::unique_ptr<SalvosWindow> salvos_window_;
  std::unique_ptr<ConsoleSession> console_;
};

// SIGTERM and SIGINT reach the UI thread as `terminate`. Call once, before run. UI thread.
void end_program_on_signals(ControllerProgram& program, QObject& context);

}  // namespace mav
