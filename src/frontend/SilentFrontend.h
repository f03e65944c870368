// A screen nobody looks at: for runs of the core whose texts, sounds and repaints have no
// operator (a scratch run that plans a take, a benchmark). Header only; any thread.
#pragma once

#include "frontend/Frontend.h"

namespace mav {

class SilentFrontend : public Frontend {
 public:
  void show_status_text(std::string_view) override {}
  void show_message(std::string_view) override {}
  void show_message_box(const MessageBoxRequest&) override {}
  void update_title() override {}
  void link_state_changed() override {}
  void request_repaint() override {}
  void start_move(int, int, int) override {}
  void play_sound(std::string_view) override {}
  void set_cursor(CursorShape) override {}
  void set_menu_check(int, bool) override {}
  void refresh_settings_dialog(int) override {}
};

}  // namespace mav
