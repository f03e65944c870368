// The operator's gestures on the matrix: mouse presses, releases and movements and typed keys
// become clicks on the matrix's elements; a click selects a port or a net, completes a two-click
// gesture with one of the connection actions, switches between connect and disconnect mode, or
// enters and leaves monitor mode. Also the hover descriptions, the status texts and the menu
// commands of the matrix. Needs no display: the window only turns its mouse and key events into
// these calls. UI thread.
#pragma once

#include <string>

#include "frontend/CommandRegistry.h"
#include "matrix/ConnectionActions.h"
#include "matrix/HitTest.h"
#include "matrix/SlideAnimator.h"
#include "platform/Clock.h"

namespace mav {

enum class MouseButton { Left, Right };

// The keys held at the moment of a mouse event.
struct HeldKeys {
  bool ctrl = false;
  bool shift = false;
};

// Modifier codes of a click: 0 plain, 1 Ctrl (or right button, or disconnect mode), 2 Shift,
// 3 Ctrl and Shift. Shift makes a click do nothing.
int modifier_code(MouseButton button, HeldKeys keys);

inline constexpr char kEscape = '\x1b';

class MatrixGestures {
 public:
  // Shows the view in connect mode, outside monitor mode.
  MatrixGestures(const ActionParts& parts, const Clock& clock, const SlideAnimator& slides,
                 MatrixView& view);

  void on_button_down(MouseButton button, HeldKeys keys, int x, int y);
  void on_button_up(MouseButton button, HeldKeys keys, int x, int y);
  void on_mouse_move(int x, int y);
  // The pointer left the matrix: the hover box and the status text go.
  void on_mouse_leave();
  // One typed character (Esc is kEscape).
  void on_char(char character);

  // The gesture dispatcher, also reached by the keyboard commands.
  void click(int modifier, HitKind kind, int index);

  // Connect All, Disconnect All and the permanent-connection marks of nets 1 to 7, these
  // behind the password check.
  void register_commands(CommandRegistry& registry, PasswordCheck& password);

  // For patch changes that complete after the gesture: the end of its pending selection, and a
  // refusal decided elsewhere (the Buzz, and the sentence in the status line).
  void end_selection() { actions_.end_selection(); }
  void refuse(const std::string& why) { actions_.refuse("refused", why); }
  // Where the patch changes go from now on; nullptr: the gateway's link. Outlives its use.
  void set_patch_actions(PatchActions* patch) { patch_ = patch ? patch : &actions_; }
  // The actions on the gateway's link, for a host that puts its own checks in front of them.
  PatchActions& local_actions() { return actions_; }

  // The keyboard command typed so far.
  const std::string& key_buffer() const { return key_buffer_; }

 private:
  struct Press {
    int modifier = 0;
    MatrixHit hit;
  };

  MatrixHit hit_at(int x, int y) const;
  void plain_click(HitKind kind, int index);
  void disconnect_click(HitKind kind, int index);
  void select(Selection what, int index, const char* sound);
  void open_module_settings(int port, bool mark_open);
  void toggle_corner();
  void set_corner_switch(bool connect_mode);
  void enter_monitor_mode(int port);
  void leave_monitor_mode();
  void after_disconnection(bool disconnected);
  void show_status(const std::string& text);
  void key_command(char key);
  // The status-line mark of the selection a keyboard command left pending.
  void mark_if_selected(const std::string& typed);
  void confirmed(const char* question, void (PatchActions::*action)());
  void publish_view();

  ActionParts p_;
  const Clock& clock_;
  const SlideAnimator& slides_;
  MatrixView& view_target_;
  ConnectionActions actions_;  // also the sounds, refusals and selection marks of every gesture
  PatchActions* patch_ = &actions_;

  MatrixViewState view_;
  Press press_;
  bool force_disconnect_ = false;
  MatrixHit hover_element_;
  bool cursor_inside_ = false;
  std::string status_text_;
  std::string key_buffer_;
};

}  // namespace mav
