// The line-up, the gateway-wide switches and dialling.
#include <cstdio>

#include "Gateway.h"
#include "ReplyFormat.h"

namespace mav::sim {
namespace {

bool is_query(const std::vector<std::string_view>& args) {
  return args.empty() || (args.size() == 1 && args[0] == "?");
}

}  // namespace

// "SYSTEM": one number per module, port x 100 + module type, in port order.
void Gateway::on_system(const Args& args, Lines& out) const {
  if (!is_query(args)) {
    out.push_back(bare_status(status::kMalformed));
    return;
  }
  std::string line = "%SYSTEM";
  for (int port = 0; port < kPortCount; ++port) {
    if (!model_.has_module(port)) continue;
    char entry[16];
    std::snprintf(entry, sizeof entry, " %.4d", port * 100 + model_.port(port).mod_type);
    line += entry;
  }
  out.push_back(line + " E0");
}

// "MOD_TYPE pp": the module type in the port, 0 when it is empty.
void Gateway::on_mod_type(const Args& args, Lines& out) const {
  const bool shape = args.size() == 1 || (args.size() == 2 && args[1] == "?");
  const std::optional<int> port = shape ? parse_port(args[0]) : std::nullopt;
  if (!port) {
    out.push_back(bare_status(status::kMalformed));
    return;
  }
  const std::string type = std::to_string(model_.port(*port).mod_type);
  out.push_back(reply_line(kw::MOD_TYPE, {port_text(*port), type}, status::kOk));
}

// ON/OFF switches: USER_PGM, VPMTS and the three reporting switches. Turning a reporting switch
// on also reports the activity that is already there.
void Gateway::on_switch(int keyword, const Args& args, Lines& out) {
  std::optional<Indicator> indicator;
  if (keyword == kw::COR_LED) indicator = Indicator::kCor;
  if (keyword == kw::PTT_LED) indicator = Indicator::kPtt;
  if (keyword == kw::RING_LED) indicator = Indicator::kRing;
  auto state = [&]() {
    if (indicator) return model_.reporting(*indicator);
    return keyword == kw::VPMTS ? model_.voice_prompts : model_.user_program;
  };
  if (!is_query(args)) {
    const std::optional<int> on = args.size() == 1 ? parse_on_off(args[0]) : std::nullopt;
    if (!on) {
      out.push_back(bare_status(status::kMalformed));
      return;
    }
    if (indicator) {
      model_.set_reporting(*indicator, *on != 0);
    } else if (keyword == kw::VPMTS) {
      model_.voice_prompts = *on != 0;
    } else {
      model_.user_program = *on != 0;
    }
  }
  out.push_back(reply_line(keyword, {state() ? "ON" : "OFF"}, status::kOk));
  if (indicator && state() && model_.activity(*indicator) != 0) {
    out.push_back(reply_line(keyword, {mask_text(model_.activity(*indicator))}, status::kOk));
  }
}

// Gateway-wide word settings: SECURITY_MODE (OFF, EXCLUSIVE, PRIORITY) and MEK_SQUELCH_TYPE
// (MIC, VOX). A refused word is answered with the value kept and status 3.
void Gateway::on_word_switch(int keyword, const Args& args, Lines& out) {
  int& value = keyword == kw::SECURITY_MODE ? model_.security_mode : model_.mek_squelch_type;
  int status = status::kOk;
  if (!is_query(args)) {
    const int word = args.size() == 1 ? lookup_value_word(args[0]) : vw::NOT_A_WORD;
    const bool allowed = keyword == kw::SECURITY_MODE
                             ? (word == vw::OFF || word == vw::EXCLUSIVE || word == vw::PRIORITY)
                             : (word == vw::MIC || word == vw::VOX);
    if (allowed) {
      value = word;
    } else {
      status = status::kOutOfRange;
    }
  }
  out.push_back(reply_line(keyword, {value_word_text(value)}, status));
}

// "DIAL pp number [1|2]": a telephone line goes off hook and dials the number as the operator
// typed it, blanks and all; the blanks dial nothing, so the answer gives the number without
// them. "!" dials nothing (a line that needs no number).
void Gateway::on_dial(const Args& args, Lines& out) {
  const std::optional<int> port = args.size() >= 2 ? parse_port(args[0]) : std::nullopt;
  if (!port) {
    out.push_back(bare_status(status::kMalformed));
    return;
  }
  if (model_.port(*port).mod_type != 3) {
    out.push_back(bare_status(status::kNotPresent));
    return;
  }
  const std::size_t number_end = args.size() == 2 ? 2 : args.size() - 1;
  std::string dialled;
  for (std::size_t i = 1; i < number_end; ++i) dialled += args[i];
  model_.set_on_hook(*port, false);
  out.push_back(reply_line(kw::DIAL, {port_text(*port), dialled}, status::kOk));
}

}  // namespace mav::sim
