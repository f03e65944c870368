// Per-port settings: queries and changes for one port or ALL, and the hook state.
#include "Gateway.h"
#include "ReplyFormat.h"
#include "SettingCatalog.h"

namespace mav::sim {
namespace {

// The value a token names for a setting, or nothing when the token is no value of its kind.
std::optional<int> read_value(const SettingRule& rule, std::string_view token) {
  switch (rule.kind) {
    case SettingKind::kNumber:
      return parse_number(token);
    case SettingKind::kOnOff:
      return parse_on_off(token);
    case SettingKind::kWord: {
      const int word = lookup_value_word(token);
      if (word == vw::NOT_A_WORD) return std::nullopt;
      return word;
    }
  }
  return std::nullopt;
}

bool has_hook(int mod_type) {
  return mod_type == 3 || mod_type == 5;
}

// Answers for the port a token names, or for every port that `has` the feature when the token is
// ALL and `all_allowed`, with `none` when ALL finds none; a bad port is malformed, a port without
// the feature is not present.
template <typename Has, typename Answer>
void answer_ports(std::string_view token, bool all_allowed, Has has, Answer answer,
                  const std::string& none, Lines& out) {
  if (all_allowed && token == "ALL") {
    for (int port = 0; port < kPortCount; ++port) {
      if (has(port)) answer(port);
    }
    if (out.empty()) out.push_back(none);
    return;
  }
  const std::optional<int> port = parse_port(token);
  if (!port) {
    out.push_back(bare_status(status::kMalformed));
    return;
  }
  if (!has(*port)) {
    out.push_back(bare_status(status::kNotPresent));
    return;
  }
  answer(*port);
}

// ALL finding no module with the setting. The controller reads "ALL" as port 00: where it drops
// a refused reply, the keyword's own form with E4 passes without a trace; where it stores the value
// whatever the status, only the bare status leaves port 00 alone.
std::string no_port_has(int keyword) {
  const SettingRule& rule = *any_setting_rule(keyword);
  if (!refusal_reports_request(keyword)) return bare_status(status::kNotPresent);
  return reply_line(keyword, {"ALL", setting_value_text(rule, rule.factory)}, status::kNotPresent);
}

}  // namespace

void Gateway::on_setting(int keyword, const Args& args, Lines& out) {
  if (args.size() != 2) {
    out.push_back(bare_status(status::kMalformed));
    return;
  }
  answer_ports(
      args[0], true,
      [&](int port) { return find_setting(model_.port(port).mod_type, keyword) != nullptr; },
      [&](int port) { on_setting_port(keyword, port, args[1], out); }, no_port_has(keyword), out);
}

// A refused value is answered with status 3 and, depending on the setting, the value asked for or
// the value the port still holds (see refusal_reports_request). A token that is no value of the
// setting's kind asks for nothing: the value kept is answered.
void Gateway::on_setting_port(int keyword, int port, std::string_view value, Lines& out) {
  const SettingRule& rule = *find_setting(model_.port(port).mod_type, keyword);
  int status = status::kOk;
  int answered = model_.port(port).settings[static_cast<std::size_t>(keyword)];
  if (value != "?") {
    const std::optional<int> wanted = read_value(rule, value);
    if (wanted && accepts(rule, *wanted)) {
      model_.set_setting(port, keyword, *wanted);
      answered = *wanted;
    } else {
      status = status::kOutOfRange;
      if (wanted && refusal_reports_request(keyword)) answered = *wanted;
    }
  }
  out.push_back(reply_line(keyword, {port_text(port), setting_value_text(rule, answered)}, status));
}

// "ON_HOOK pp ?" and "ON_HOOK ALL ?" report the hook state of telephone-line and local-phone
// ports; "ON_HOOK pp" hangs the line up.
void Gateway::on_on_hook(const Args& args, Lines& out) {
  const bool query = args.size() == 2 && args[1] == "?";
  if (args.empty() || args.size() > 2 || (args.size() == 2 && !query)) {
    out.push_back(bare_status(status::kMalformed));
    return;
  }
  answer_ports(
      args[0], query, [&](int port) { return has_hook(model_.port(port).mod_type); },
      [&](int port) {
        if (!query) model_.set_on_hook(port, true);
        const char* state = model_.port(port).on_hook ? "ON" : "OFF";
        out.push_back(reply_line(kw::ON_HOOK, {port_text(port), state}, status::kOk));
      },
      reply_line(kw::ON_HOOK, {"ALL", "OFF"}, status::kNotPresent), out);
}

}  // namespace mav::sim
