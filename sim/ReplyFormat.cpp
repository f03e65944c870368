#include "ReplyFormat.h"

#include <cstdio>

#include "vocabulary/Vocabulary.h"

namespace mav::sim {

std::string port_text(int port) {
  char text[16];
  std::snprintf(text, sizeof text, "%.2d", port);
  return text;
}

std::string reply_line(int keyword, std::initializer_list<std::string_view> args, int status) {
  std::string line = "%";
  line += keyword_text(keyword);
  for (std::string_view arg : args) {
    line += ' ';
    line += arg;
  }
  line += " E" + std::to_string(status);
  return line;
}

std::string bare_status(int status) {
  return "% E" + std::to_string(status);
}

std::string setting_value_text(const SettingRule& rule, int value) {
  switch (rule.kind) {
    case SettingKind::kNumber:
      return std::to_string(value);
    case SettingKind::kOnOff:
      return value != 0 ? "ON" : "OFF";
    case SettingKind::kWord:
      return std::string(value_word_text(value));
  }
  return {};
}

std::string mask_text(std::uint32_t mask) {
  char text[16];
  std::snprintf(text, sizeof text, "%.4x %.4x", (mask >> 16) & 0xFFFFu, mask & 0xFFFFu);
  return text;
}

}  // namespace mav::sim
