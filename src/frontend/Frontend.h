// The core's view of the operator's screen. The GUI implements it by posting each call to the UI
// thread; tests implement it by recording. Every call may come from the worker thread and must
// return without waiting for the operator, so the worker keeps dispatching while a box is open.
#pragma once

#include <string>
#include <string_view>

namespace mav {

enum class MessageIcon { None, Exclamation, Question, Information };

// The matrix cursor: the arrow, "SelectedCursor" while the first click of a gesture is pending,
// "WaitCursor" while a stream of gateway replies is processed.
enum class CursorShape { Arrow, Selected, Wait };

struct MessageBoxRequest {
  std::string text;  // a "\r" inside is a line break
  std::string caption;
  MessageIcon icon = MessageIcon::Exclamation;
  bool owned_by_main_window = true;
};

class Frontend {
 public:
  virtual ~Frontend() = default;

  // The status line of the main window (hover and key-buffer texts): stored and drawn again by
  // every paint; an empty text clears it.
  virtual void show_status_text(std::string_view text) = 0;
  // The message line beside it (the dispatcher's and the connection's reports): drawn once and
  // not stored, so the next paint removes it; an empty text blacks it out.
  virtual void show_message(std::string_view text) = 0;
  // An informational or error box; never blocks the caller. While a box of the same text is
  // still up, no second one appears.
  virtual void show_message_box(const MessageBoxRequest& box) = 0;
  // What the box of this text said is no longer true: it goes away if the operator has not
  // acknowledged it yet. A screen without boxes has nothing to withdraw.
  virtual void withdraw_message_box(std::string_view /*text*/) {}
  // The main window title depends on the channel; bring it up to date.
  virtual void update_title() = 0;
  // The channel opened, connected or closed, or the gateway stopped answering or answers again:
  // the connection indicator reads the link's state anew.
  virtual void link_state_changed() = 0;

  // The matrix: repaint it whole (ignored while an icon slides; the slide ends with a repaint),
  // and slide a port's icon from the row of one net to another's (net numbers, GROUP_NONE or 0
  // for no net); the worker moves the slide on through the matrix view's hooks.
  virtual void request_repaint() = 0;
  virtual void start_move(int port, int from_net, int to_net) = 0;

  // A WAV file of the program's Sounds folder, by file name ("Connect.wav"), played
  // asynchronously. Callers decide whether the Sound option allows it.
  virtual void play_sound(std::string_view file_name) = 0;
  // The matrix cursor, shown at once where the pointer is.
  virtual void set_cursor(CursorShape shape) = 0;
  // The check mark of a menu command, by command id.
  virtual void set_menu_check(int command_id, bool checked) = 0;
  // The gateway answered the voice prompt delay of a port: its open module settings dialog
  // shows the port record anew.
  virtual void refresh_settings_dialog(int port) = 0;
};

}  // namespace mav
