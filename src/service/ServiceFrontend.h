// The headless service's end of the core's Frontend: nothing is drawn and nobody is asked, so
// every call becomes a note for the service's loop thread (texts for the event stream, a change
// of the link, a model that may have moved). Any thread; it never waits.
#pragma once

#include <functional>
#include <string>

#include "frontend/Frontend.h"

namespace mav {

// What the service does with the core's screen calls, always on its loop thread.
class ServiceScreen {
 public:
  virtual ~ServiceScreen() = default;
  // A text the controller would show: a status line ("status") or a message box ("box").
  virtual void text_shown(const std::string& kind, const std::string& text) = 0;
  virtual void link_changed() = 0;
  // The model may have changed: ports, nets, indicators or settings.
  virtual void model_touched() = 0;
};

// A message box's text as clients read it: one line, the box's "\r" line breaks as blanks.
std::string box_text(const MessageBoxRequest& box);

class ServiceFrontend final : public Frontend {
 public:
  // post runs a call on the loop thread.
  ServiceFrontend(std::function<void(std::function<void()>)> post, ServiceScreen& screen)
      : post_(std::move(post)), screen_(screen) {}

  void show_status_text(std::string_view text) override;
  // The message line only says that replies are being processed; the model's events say more.
  void show_message(std::string_view) override {}
  void show_message_box(const MessageBoxRequest& box) override;
  void update_title() override { touched(); }
  void link_state_changed() override;
  void request_repaint() override { touched(); }
  void start_move(int, int, int) override { touched(); }
  void play_sound(std::string_view) override {}
  void set_cursor(CursorShape) override {}
  void set_menu_check(int, bool) override {}
  void refresh_settings_dialog(int) override { touched(); }

 private:
  void shown(const char* kind, std::string_view text);
  void touched();

  std::function<void(std::function<void()>)> post_;
  ServiceScreen& screen_;
};

}  // namespace mav
