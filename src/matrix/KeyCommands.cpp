// The keyboard commands: Esc, t, c/d/m and a two-digit port, n/b and a net digit. The status
// line shows the command as it is typed.
#include <cctype>
#include <string>
#include <string_view>

#include "matrix/MatrixGestures.h"

namespace mav {
namespace {

bool is_digit(char key) {
  return key >= '0' && key <= '9';
}

// Letters count in either case.
char lower(char key) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(key)));
}

}  // namespace

void MatrixGestures::on_char(char character) {
  if (!p_.session.accepts_gestures()) return;
  if (character == kEscape) {
    key_buffer_.clear();
    actions_.end_selection();
    click(0, HIT_MONITOR_PANEL, 0);
    show_status("");
    p_.frontend.set_cursor(CursorShape::Arrow);
    return;
  }
  const char key = lower(character);
  if (key_buffer_.empty()) {
    if (key == 't') {
      show_status("Toggle connect mode");
      toggle_corner();
    } else if (key != '\0' && std::string_view("cdmnb").find(key) != std::string_view::npos) {
      key_buffer_ = character;
      show_status(key_buffer_);
    }
    return;
  }
  key_command(key);
}

void MatrixGestures::key_command(char key) {
  const char command = lower(key_buffer_[0]);
  if (command == 'n' || command == 'b') {
    key_buffer_.clear();
    show_status("");
    if (key < '1' || key > '7') return;
    const int row = key - '1';
    if (p_.model.CountInNet(row + 1) > 0) click(command == 'n' ? 0 : 1, HIT_NET_BUTTON, row);
    mark_if_selected(std::string{command, key});
    return;
  }
  // c, d or m: a port number 00 to 29, of which only ports with a module count.
  if (key_buffer_.size() == 1) {
    if (key < '0' || key > '2') return;
    key_buffer_ += key;
    show_status(key_buffer_);
    return;
  }
  if (!is_digit(key)) return;
  const int port = (key_buffer_[1] - '0') * 10 + (key - '0');
  const std::string typed = key_buffer_ + key;
  key_buffer_.clear();
  show_status("");
  if (!p_.model.HasModule(port)) return;
  if (command == 'm') {
    click(0, HIT_COLUMN_HEADER, port);
  } else {
    click(command == 'd' ? 1 : 0, HIT_PORT, port);
  }
  mark_if_selected(typed);
}

void MatrixGestures::mark_if_selected(const std::string& typed) {
  // The selection waits 15 s for its other end; without a mark the typed command just vanished.
  if (p_.session.selection_pending())
    actions_.mark_selection(typed + " selected, waiting for the other end");
}

}  // namespace mav
