// The core's view of the operator's screen. The GUI implements it by posting each call to the UI
// thread; tests implement it by recording. Every call may come from the worker thread and must
// return without waiting for the operator, so the worker keeps dispatching while a box is open.
#pragma once

#include <string>
#include <string_view>

namespace mav {

enum class MessageIcon { None, Exclamation, Question, Information };

struct MessageBoxRequest {
  std::string text;  // a "\r" inside is a line break
  std::string caption;
  MessageIcon icon = MessageIcon::Exclamation;
  bool owned_by_main_window = true;
};

class Frontend {
 public:
  virtual ~Frontend() = default;

  // The one-line status area of the main window; an empty text clears it.
  virtual void show_status_text(std::string_view text) = 0;
  // An informational or error box; never blocks the caller.
  virtual void show_message_box(const MessageBoxRequest& box) = 0;
  // The main window title depends on the channel; bring it up to date.
  virtual void update_title() = 0;
};

}  // namespace mav
