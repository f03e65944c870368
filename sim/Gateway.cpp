#include "Gateway.h"

#include "ReplyFormat.h"
#include "SettingCatalog.h"

namespace mav::sim {

bool is_sign_off(std::string_view line) {
  return split_command(line).first == "logout";
}

void report_left_alone(GatewayModel& model, Lines& out) {
  for (int port : model.take_left_alone()) {
    out.push_back(reply_line(kw::DISCH, {port_text(port)}, status::kOk));
  }
}

Lines Gateway::handle_line(std::string_view line) {
  Lines out;
  dispatch(line, out);
  report_left_alone(model_, out);
  return out;
}

void Gateway::dispatch(std::string_view line, Lines& out) {
  const CommandLine command = split_command(line);
  if (command.blank) {
    out.push_back(bare_status(status::kOk));  // the prompt that proves contact
    return;
  }
  if (is_sign_off(line)) return;
  const int keyword = command.keyword;
  const Args& args = command.args;
  if (keyword > 0 && any_setting_rule(keyword) != nullptr) {
    on_setting(keyword, args, out);
    return;
  }
  switch (keyword) {
    case kw::SYSTEM:
      on_system(args, out);
      break;
    case kw::MOD_TYPE:
      on_mod_type(args, out);
      break;
    case kw::CONNECT:
    case kw::CONNECT_S:
      on_connect(keyword, args, out);
      break;
    case kw::DISC:
    case kw::DISC_S:
    case kw::DISCH:
      on_disconnect(keyword, args, out);
      break;
    case kw::MON:
      on_monitor(args, out);
      break;
    case kw::ON_HOOK:
      on_on_hook(args, out);
      break;
    case kw::USER_PGM:
    case kw::VPMTS:
    case kw::COR_LED:
    case kw::PTT_LED:
    case kw::RING_LED:
      on_switch(keyword, args, out);
      break;
    case kw::SECURITY_MODE:
    case kw::MEK_SQUELCH_TYPE:
      on_word_switch(keyword, args, out);
      break;
    case kw::PIN:
      on_pin(args, out);
      break;
    case kw::DEL_PIN:
      on_del_pin(args, out);
      break;
    case kw::DIAL:
      on_dial(args, out);
      break;
    case kw::RELAY:
      // The controller's report of its own view: the gateway keeps its own, but every line the
      // controller queues waits for an answer. "%RELAY" would overwrite the controller's groups.
      out.push_back(bare_status(status::kOk));
      break;
    case kw::VER:
      out.push_back(reply_line(kw::VER, {"7700-2.14"}, status::kOk));
      break;
    case kw::FREE_BUS:
      out.push_back(
          reply_line(kw::FREE_BUS, {std::to_string(model_.free_bus_count())}, status::kOk));
      break;
    default:
      out.push_back(bare_status(status::kUnknownCommand));
      break;
  }
}

}  // namespace mav::sim
