#include "platform/qt/QueuedFrontend.h"

#include <QMetaObject>
#include <string>

namespace mav {

QueuedFrontend::QueuedFrontend(QObject& ui_object) : ui_object_(&ui_object) {}

void QueuedFrontend::set_target(Frontend& target, WakeSignal& worker_wake) {
  worker_wake_ = &worker_wake;
  target_ = &target;
  drain();
}

void QueuedFrontend::post(std::function<void()> call) {
  bool wake = false;
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(call));
    wake = !wake_pending_;
    wake_pending_ = true;
  }
  if (wake && ui_object_) {
    QMetaObject::invokeMethod(
        ui_object_, [this] { drain(); }, Qt::QueuedConnection);
  }
}

void QueuedFrontend::drain() {
  std::vector<std::function<void()>> calls;
  {
    std::lock_guard lock(mutex_);
    if (target_ == nullptr) return;
    calls.swap(queue_);
    wake_pending_ = false;
  }
  for (auto& call : calls) call();
}

void QueuedFrontend::show_status_text(std::string_view text) {
  post([this, owned = std::string(text)] { target_.load()->show_status_text(owned); });
}

void QueuedFrontend::show_message(std::string_view text) {
  post([this, owned = std::string(text)] { target_.load()->show_message(owned); });
}

void QueuedFrontend::show_message_box(const MessageBoxRequest& box) {
  post([this, box] { target_.load()->show_message_box(box); });
}

void QueuedFrontend::withdraw_message_box(std::string_view text) {
  post([this, text = std::string(text)] { target_.load()->withdraw_message_box(text); });
}

void QueuedFrontend::update_title() {
  post([this] { target_.load()->update_title(); });
}

void QueuedFrontend::link_state_changed() {
  post([this] { target_.load()->link_state_changed(); });
}

void QueuedFrontend::request_repaint() {
  post([this] { target_.load()->request_repaint(); });
}

void QueuedFrontend::start_move(int port, int from_net, int to_net) {
  post([=, this] {
    target_.load()->start_move(port, from_net, to_net);
    worker_wake_->wake();
  });
}

bool QueuedFrontend::animation_step() {
  Frontend* target = target_.load();
  return target != nullptr && target->animation_step();
}

void QueuedFrontend::play_sound(std::string_view file_name) {
  post([this, owned = std::string(file_name)] { target_.load()->play_sound(owned); });
}

void QueuedFrontend::set_cursor(CursorShape shape) {
  post([=, this] { target_.load()->set_cursor(shape); });
}

void QueuedFrontend::set_menu_check(int command_id, bool checked) {
  post([=, this] { target_.load()->set_menu_check(command_id, checked); });
}

void QueuedFrontend::refresh_settings_dialog(int port) {
  post([this, port] { target_.load()->refresh_settings_dialog(port); });
}

}  // namespace mav
