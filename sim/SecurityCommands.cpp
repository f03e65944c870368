// The PIN users.
#include <cstdio>

#include "Gateway.h"
#include "ReplyFormat.h"

namespace mav::sim {
namespace {

std::string pin_text(int pin) {
  char text[16];
  std::snprintf(text, sizeof text, "%.4d", pin);
  return text;
}

}  // namespace

// "PIN ?" lists the users, one "%PIN pppp level E0" each, or answers "%PIN E4" when there is
// none (a listed PIN would take the place of a free entry); "PIN pppp level" stores one.
void Gateway::on_pin(const Args& args, Lines& out) {
  if (args.size() == 1 && args[0] == "?") {
    for (const PinUser& user : model_.pins()) {
      out.push_back(reply_line(kw::PIN, {pin_text(user.pin), std::to_string(user.level)}, 0));
    }
    if (out.empty()) out.push_back(reply_line(kw::PIN, {}, status::kNotPresent));
    return;
  }
  const std::optional<int> pin = args.size() == 2 ? parse_number(args[0]) : std::nullopt;
  const std::optional<int> level = args.size() == 2 ? parse_number(args[1]) : std::nullopt;
  if (!pin || !level) {
    out.push_back(bare_status(status::kMalformed));
    return;
  }
  const int result = model_.store_pin(*pin, *level);
  out.push_back(reply_line(kw::PIN, {pin_text(*pin), std::to_string(*level)}, result));
}

// "DEL_PIN ALL" or "DEL_PIN pppp". The PIN is echoed with four digits, so that the controller
// never mistakes it for one of the value words "0", "1" or "30".
void Gateway::on_del_pin(const Args& args, Lines& out) {
  if (args.size() == 1 && args[0] == "ALL") {
    model_.delete_all_pins();
    out.push_back(reply_line(kw::DEL_PIN, {"ALL"}, status::kOk));
    return;
  }
  const std::optional<int> pin = args.size() == 1 ? parse_number(args[0]) : std::nullopt;
  if (!pin) {
    out.push_back(bare_status(status::kMalformed));
    return;
  }
  out.push_back(reply_line(kw::DEL_PIN, {pin_text(*pin)}, model_.delete_pin(*pin)));
}

}  // namespace mav::sim
