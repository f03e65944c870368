#include "app/ui/WindowFrontend.h"

#include <QMetaObject>

namespace mav {

WindowFrontend::WindowFrontend(const WindowFrontendParts& parts)
    : p_(parts),
      cursors_(draw_program_cursors()),
      sounds_(parts.app.shared_directory() / "Sounds") {}

void WindowFrontend::show_status_text(std::string_view text) {
  p_.matrix.show_status_text(text);
}

void WindowFrontend::show_message(std::string_view text) {
  p_.matrix.show_message(text);
}

void WindowFrontend::show_message_box(const MessageBoxRequest& box) {
  p_.prompts.show(box, &p_.window);
}

void WindowFrontend::withdraw_message_box(std::string_view text) {
  p_.prompts.withdraw(std::string(text));
}

void WindowFrontend::update_title() {
  if (p_.session.network_mode) p_.app.update_network_title();
}

void WindowFrontend::link_state_changed() {
  p_.window.show_link_state();
}

void WindowFrontend::request_repaint() {
  p_.matrix.request_repaint();
}

void WindowFrontend::start_move(int port, int from_net, int to_net) {
  after_slide_step(p_.slides.start_move(port, from_net, to_net));
}

bool WindowFrontend::animation_step() {
  const SlideStep step = p_.slides.animation_step();
  if (step.frame_due || step.slide_ended) {
    QMetaObject::invokeMethod(
        &p_.matrix, [this, step] { after_slide_step(step); }, Qt::QueuedConnection);
  }
  return step.any_active;
}

void WindowFrontend::after_slide_step(const SlideStep& step) {
  if (step.frame_due) p_.matrix.slide_frame();
  if (step.slide_ended) p_.matrix.request_repaint();
}

void WindowFrontend::play_sound(std::string_view file_name) {
  sounds_.play(file_name);
}

void WindowFrontend::set_cursor(CursorShape shape) {
  switch (shape) {
    case CursorShape::Wait:
      p_.matrix.setCursor(cursors_.wait);
      break;
    case CursorShape::Selected:
      p_.matrix.setCursor(cursors_.selected);
      break;
    case CursorShape::Arrow:
      p_.matrix.unsetCursor();
      break;
  }
}

void WindowFrontend::set_menu_check(int command_id, bool checked) {
  p_.window.set_menu_check(command_id, checked);
}

void WindowFrontend::refresh_settings_dialog(int port) {
  p_.module_settings.refresh(port);
}

}  // namespace mav
