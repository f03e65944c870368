// Carries the core's Frontend calls from any thread to the UI thread: each call is queued and
// the UI thread is woken once to run the whole queue, so a burst of worker calls costs one
// wake-up and the worker never waits for the screen. The target runs every call on the UI
// thread, except animation_step, which is forwarded at once (it runs on every worker pass and
// must be thread-safe and cheap in the target). A slide started on the UI thread wakes the worker,
// which then moves it frame by frame.
#pragma once

#include <QObject>
#include <QPointer>
#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

#include "frontend/Frontend.h"
#include "platform/WakeSignal.h"

namespace mav {

class QueuedFrontend final : public Frontend {
 public:
  // ui_object lives on the UI thread; the target's calls run in its thread.
  explicit QueuedFrontend(QObject& ui_object);

  // Where the calls go, and the worker thread that moves a slide once started; until they are
  // set, the calls wait. UI thread.
  void set_target(Frontend& target, WakeSignal& worker_wake);

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

  // Runs whatever is queued now, once there is a target. UI thread.
  void drain();

 private:
  void post(std::function<void()> call);

  std::atomic<Frontend*> target_{nullptr};
  QPointer<QObject> ui_object_;
  WakeSignal* worker_wake_ = nullptr;
  std::mutex mutex_;
  std::vector<std::function<void()>> queue_;
  bool wake_pending_ = false;
};

}  // namespace mav
