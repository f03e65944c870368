// Settings, activity indicators, PINs, PIN use and dialling results.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "protocol/ReplyDispatcher.h"
#include "protocol/ReplyList.h"

namespace mav {
namespace {

// The value a settings reply stores for its keyword; nullopt when the reply leaves the field as
// it is.
std::optional<std::uint32_t> stored_value(const ParsedReply& r) {
  const auto word = r.value;
  const auto as_index = [](int v) { return static_cast<std::uint32_t>(v); };
  switch (r.keyword) {
    case kw::AUTO_ANS:
    case kw::CONF:
    case kw::COR_SAMPLING:
    case kw::DIAL_TONE_ENABLE:
    case kw::DIAL_TONE_WAIT:
    case kw::ON_HOOK:
    case kw::PTT_PRIORITY:
    case kw::RINGBACK_ENABLE:
    case kw::RX_SQUELCH:
    case kw::USER_CONTROL:
      return r.flag ? 1u : 0u;
    case kw::CALLING_TIME:
      return word >= vw::ZERO && word <= vw::CONT ? as_index(word) : as_index(vw::NOT_A_WORD);
    case kw::COR_POLARITY:
      if (word == vw::NEG) return 1u;
      if (word == vw::POS) return 0u;
      return std::nullopt;
    case kw::DB_TONE:
      return as_index(word == vw::US ? vw::US : vw::NOT_A_WORD);
    case kw::DUPLEX:
      return word == vw::FULL ? 1u : 0u;
    case kw::LINE_TYPE:
      return word == vw::NORM ? 1u : 0u;
    case kw::RING_CADENCE:
      return word == vw::EURO ? 0u : 1u;
    case kw::SQUELCH_TYPE:
      return word >= vw::COR && word <= vw::VOX ? as_index(word) : as_index(vw::NOT_A_WORD);
    default:  // numbers, DIAL_MODE's word (the setter maps it) and PROMPT_LANG's word index
      return as_index(word);
  }
}

}  // namespace

ReplyDispatcher::Ending ReplyDispatcher::on_setting(const ParsedReply& r) {
  const int port = reply_port(r);
  if (const auto value = stored_value(r)) p_.model.SetSetting(port, r.keyword, *value);
  if (r.keyword == kw::PROMPT_DELAY && port == p_.state.dialog_port.load()) {
    p_.frontend.refresh_settings_dialog(port);
  }
  return Ending::Handled;
}

ReplyDispatcher::Ending ReplyDispatcher::on_indicators(const ParsedReply& r) {
  std::uint8_t PortRecord::*indicator = &PortRecord::cor_active;
  if (r.keyword == kw::PTT_LED) indicator = &PortRecord::ptt_active;
  if (r.keyword == kw::RING_LED) indicator = &PortRecord::ring_active;
  const auto mask = static_cast<std::uint32_t>(r.value);
  for (int port = 0; port < kPortCount; ++port) {
    const auto bit = static_cast<std::uint8_t>((mask >> port) & 1u);
    p_.model.Update(port, [indicator, bit](PortRecord& q) { q.*indicator = bit; });
  }
  p_.frontend.request_repaint();
  return Ending::Quiet;
}

ReplyDispatcher::Ending ReplyDispatcher::on_pin(const ParsedReply& r) {
  p_.pins.store_reported_pin(static_cast<std::uint16_t>(r.value),
                             static_cast<std::uint8_t>(reply_port(r)));
  return Ending::Quiet;
}

ReplyDispatcher::Ending ReplyDispatcher::on_del_pin(const ParsedReply& r) {
  const int word = reply_port(r);
  if (word == vw::ALL) {
    p_.pins.free_all();
  } else if (word == vw::NOT_A_WORD) {
    p_.pins.free_pin(static_cast<std::uint16_t>(r.value));
  }
  return Ending::Handled;
}

ReplyDispatcher::Ending ReplyDispatcher::on_pin_activity(const ParsedReply& r) {
  const int from = reply_port(r);
  const int to = r.value;
  char pin_text[kReplyTextSize + 1] = {};
  std::memcpy(pin_text, r.text, kReplyTextSize);
  const long pin = std::strtol(pin_text, nullptr, 10);
  std::string name;
  if (pin >= 0 && pin <= 0xFFFF) {
    name = p_.pins.find_pin_name(static_cast<std::uint16_t>(pin)).value_or("");
  }

  char entry[160];
  switch (r.status) {
    case 0:
      std::snprintf(entry, sizeof entry, "PIN \"%s\" entered from port %.2d to access port %.2d",
                    name.c_str(), from, to);
      break;
    case 17:
      std::snprintf(entry, sizeof entry,
                    "Unrecognized PIN entered from port %.2d attempting to access port %.2d", from,
                    to);
      break;
    case 18:
      std::snprintf(entry, sizeof entry,
                    "Insufficient PIN \"%s\" entered from port %.2d attempting to access port %.2d",
                    name.c_str(), from, to);
      break;
    default:
      return Ending::Quiet;
  }
  p_.log.write_log_entry(entry);
  return Ending::Quiet;
}

ReplyDispatcher::Ending ReplyDispatcher::on_dial(const ParsedReply& r) {
  const int port = reply_port(r);
  p_.model.SetSetting(port, kw::ON_HOOK, 0);
  char entry[48];
  std::snprintf(entry, sizeof entry, "port %.2d call successful", port);
  p_.log.write_log_entry(entry);
  return Ending::Handled;
}

}  // namespace mav
