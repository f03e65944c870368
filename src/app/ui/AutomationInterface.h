// The controller serving the control interface (Options > Automation Interface), so dispatch
// software, panels and scripts share the gateway with the operator: the request host over the
// controller's own engine, its event loop run from the UI thread, the on/off and socket kept in
// their own file. A client's change shows on the matrix through the gateway's replies, and the
// status line names the client; the operator's own changes are the "console" actor's. UI thread
// unless a member says otherwise.
#pragma once

#include <memory>
#include <string>

#include "app/AutomationSettings.h"
#include "console/ChangeSentence.h"
#include "engine/GatewayEngine.h"
#include "frontend/CommandRegistry.h"
#include "frontend/FrontendTee.h"
#include "matrix/MatrixGestures.h"
#include "matrix/ui/MatrixWidget.h"
#include "platform/EventLoop.h"
#include "platform/qt/EventLoopDriver.h"
#include "service/GatewayService.h"
#include "service/LockGuardedActions.h"
#include "service/ServiceFrontend.h"

namespace mav {

class AutomationInterface final : public ServiceScreen, public DialHooks, public ServiceObserver {
 public:
  // screen: the operator's; each outlives this.
  AutomationInterface(const Clock& clock, Frontend& screen, const ProgramFolders& folders);
  ~AutomationInterface() override;

  // Where the engine's screen calls go: the operator's screen, and the clients while serving.
  // Any thread.
  Frontend& engine_frontend() { return tee_; }
  // The request host over the engine; a telephone line that no client's connect reached asks
  // operator_dial. While serving, the operator's gestures yield to the clients' locks. Once,
  // before the worker starts.
  void attach(GatewayEngine& engine, DialHooks& operator_dial, MatrixWidget& matrix,
              MatrixGestures& gestures);
  // Stops serving and lets go of the engine; before the engine goes.
  void detach();
  void register_commands(CommandRegistry& registry);
  // Serves when the settings file says so.
  void start_as_stored();
  // Starts or stops serving; `store`: the choice is written to the settings file. False when
  // the socket cannot be listened on (the operator is told why).
  bool serve(bool on, bool store);
  GatewayService* service() { return service_.get(); }

  // ServiceScreen: the loop's calls, passed to the request host.
  void text_shown(const std::string& kind, const std::string& text) override;
  void link_changed() override;
  void model_touched() override;
  // DialHooks: worker thread.
  void open_dial_dialog(int port) override;
  // ServiceObserver
  void on_change(std::string_view actor) override;

 private:
  Frontend& screen_;
  const ProgramFolders folders_;
  EventLoop loop_;
  ServiceFrontend follower_;
  FrontendTee tee_;
  std::unique_ptr<GatewayService> service_;
  std::unique_ptr<EventLoopDriver> driver_;
  MatrixWidget* matrix_ = nullptr;
  MatrixGestures* gestures_ = nullptr;
  std::unique_ptr<LockGuardedActions> own_gestures_;
  // The nets and locks as the status line last knew them.
  PortNets nets_{};
  LockOwners locks_{};
};

}  // namespace mav
