// The UI-thread end of the core's Frontend (the QueuedFrontend posts every call here): the
// matrix, the window's boxes, indicator and menu marks, the cursors, the sounds and the open
// module settings dialog. UI thread, animation_step excepted (any thread).
#pragma once

#include "app/Application.h"
#include "app/ui/MainWindow.h"
#include "frontend/Frontend.h"
#include "matrix/SlideAnimator.h"
#include "matrix/ui/MatrixWidget.h"
#include "modules/ui/ModuleSettingsOpener.h"
#include "platform/qt/Cursors.h"
#include "platform/qt/OperatorPrompts.h"
#include "platform/qt/SoundPlayer.h"
#include "protocol/SessionState.h"

namespace mav {

// Everything the screen's end works with; each outlives it.
struct WindowFrontendParts {
  MainWindow& window;
  MatrixWidget& matrix;
  Application& app;
  SessionState& session;
  OperatorPrompts& prompts;
  SlideAnimator& slides;
  ModuleSettingsOpener& module_settings;
};

class WindowFrontend final : public Frontend {
 public:
  explicit WindowFrontend(const WindowFrontendParts& parts);

  void show_status_text(std::string_view text) override;
  void show_message(std::string_view text) override;
  void show_message_box(const MessageBoxRequest& box) override;
  void withdraw_message_box(std::string_view text) override;
  void update_title() override;
  void link_state_changed() override;
  void request_repaint() override;
  void start_move(int port, int from_net, int to_net) override;
  bool animation_step() override;
  void play_sound(std::string_view file_name) override;
  void set_cursor(CursorShape shape) override;
  void set_menu_check(int command_id, bool checked) override;
  void refresh_settings_dialog(int port) override;

 private:
  void after_slide_step(const SlideStep& step);

  WindowFrontendParts p_;
  ProgramCursors cursors_;
  SoundPlayer sounds_;
};

}  // namespace mav
