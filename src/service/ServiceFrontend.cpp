#include "service/ServiceFrontend.h"

#include <algorithm>

namespace mav {

void ServiceFrontend::show_status_text(std::string_view text) {
  // An empty status line only clears the controller's line: nothing to tell a client.
  if (!text.empty()) shown("status", text);
}

std::string box_text(const MessageBoxRequest& box) {
  std::string text = box.text;
  std::replace(text.begin(), text.end(), '\r', ' ');
  return text;
}

void ServiceFrontend::show_message_box(const MessageBoxRequest& box) {
  shown("box", box_text(box));
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
