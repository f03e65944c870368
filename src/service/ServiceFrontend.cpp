#include "service/ServiceFrontend.h"

#include <algorithm>

namespace mav {

void ServiceFrontend::show_status_text(std::string_view text) {
  // An empty status line only clears the controller's line: nothing to tell a client.
  if (!text.empty()) shown("status", text);
}

void ServiceFrontend::show_message_box(const MessageBoxRequest& box) {
  // A "\r" is the box's line break; a client reads one line of text.
  std::string text = box.text;
  std::replace(text.begin(), text.end(), '\r', ' ');
  shown("box", text);
}

void ServiceFrontend::link_state_changed() {
  post_([this] { screen_.link_changed(); });
}

void ServiceFrontend::shown(const char* kind, std::string_view text) {
  post_([this, kind, text = std::string(text)] { screen_.text_shown(kind, text); });
}

void ServiceFrontend::touched() {
  post_([this] { screen_.model_touched(); });
}

}  // namespace mav
