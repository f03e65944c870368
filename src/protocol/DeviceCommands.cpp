#include "protocol/DeviceCommands.h"

#include <cstdio>
#include <span>

#include "model/PortRecord.h"
#include "vocabulary/Vocabulary.h"

namespace mav {
namespace {

// The order of the gateway-wide sweep; TONE_KEY_AMP is asked twice, as the gateway has always
// been queried.
constexpr int kSweep[] = {
    kw::TWO_W_FOUR_W,
    kw::AUTO_ANS,
    kw::CALLING_TIME,
    kw::CONF,
    kw::COR_INHIBIT,
    kw::COR_POLARITY,
    kw::COR_SAMP_DELAY,
    kw::COR_SAMP_INTERVAL,
    kw::COR_SAMP_WIDTH,
    kw::COR_SAMPLING,
    kw::DELAY_TIME,
    kw::DIAL_MODE,
    kw::DIAL_TONE_WAIT,
    kw::DTMF_MUTE_TIME,
    kw::DB_TONE,
    kw::DIAL_TONE_ENABLE,
    kw::DUPLEX,
    kw::EQ,
    kw::KEYING_TONES,
    kw::TONE_KEY_AMP,
    kw::OP,
    kw::PEAKER,
    kw::PROMPT_DELAY,
    kw::PROMPT_LANG,
    kw::LINE_TIMEOUT,
    kw::LINE_TYPE,
    kw::PTT_PRIORITY,
    kw::RING_CADENCE,
    kw::RINGBACK_ENABLE,
    kw::RX_LEVEL,
    kw::RX_SQUELCH,
    kw::SECURITY_LEVEL,
    kw::SQUELCH_TYPE,
    kw::TONE_KEY_AMP,
    kw::RADIO_TYPE,
    kw::TX_LEVEL,
    kw::USER_CONTROL,
    kw::VMR_HANG,
    kw::VMR_THRESH,
    kw::TRUNK_TYPE,
};

constexpr int kRadioQueries[] = {
    kw::DUPLEX,         kw::COR_POLARITY,   kw::COR_SAMPLING,   kw::USER_CONTROL,
    kw::CONF,           kw::PTT_PRIORITY,   kw::SECURITY_LEVEL, kw::RX_LEVEL,
    kw::TX_LEVEL,       kw::DTMF_MUTE_TIME, kw::COR_SAMP_DELAY, kw::COR_SAMP_INTERVAL,
    kw::COR_SAMP_WIDTH, kw::COR_INHIBIT,    kw::RADIO_TYPE,
};

constexpr int kLineQueries[] = {
    kw::DTMF_MUTE_TIME, kw::DELAY_TIME, kw::VMR_THRESH, kw::VMR_HANG,
    kw::LINE_TIMEOUT,   kw::LINE_TYPE,  kw::DIAL_MODE,  kw::DIAL_TONE_WAIT,
    kw::USER_CONTROL,   kw::CONF,       kw::AUTO_ANS,   kw::CALLING_TIME,
    kw::SECURITY_LEVEL, kw::RX_LEVEL,   kw::TX_LEVEL,   kw::TWO_W_FOUR_W,
};

constexpr int kProcessorQueries[] = {
    kw::DTMF_MUTE_TIME, kw::COR_SAMP_DELAY, kw::COR_SAMP_INTERVAL,
    kw::COR_SAMP_WIDTH, kw::COR_INHIBIT,    kw::KEYING_TONES,
    kw::TONE_KEY_AMP,   kw::PEAKER,         kw::EQ,
    kw::DELAY_TIME,     kw::PTT_PRIORITY,   kw::DUPLEX,
    kw::COR_POLARITY,   kw::COR_SAMPLING,   kw::USER_CONTROL,
    kw::CONF,           kw::RX_SQUELCH,     kw::SECURITY_LEVEL,
    kw::RX_LEVEL,       kw::TX_LEVEL,       kw::SQUELCH_TYPE,
    kw::VMR_THRESH,     kw::VMR_HANG,
};

constexpr int kLocalPhoneQueries[] = {
    kw::SECURITY_LEVEL,   kw::DTMF_MUTE_TIME,  kw::DELAY_TIME,   kw::RX_LEVEL, kw::VMR_THRESH,
    kw::VMR_HANG,         kw::DB_TONE,         kw::USER_CONTROL, kw::CONF,     kw::CALLING_TIME,
    kw::DIAL_TONE_ENABLE, kw::RINGBACK_ENABLE, kw::RING_CADENCE,
};

std::span<const int> port_queries(int mod_type) {
  switch (mod_type) {
    case MOD_TOV5:
      return kRadioQueries;
    case MOD_LINE7:
      return kLineQueries;
    case MOD_VOQ3:
      return kProcessorQueries;
    case MOD_HK6:
      return kLocalPhoneQueries;
    default:
      return {};
  }
}

}  // namespace

void DeviceCommands::send(const char* line) {
  sender_.send_line(line, true);
}

void DeviceCommands::synchronise() {
  send(" \r");
  send("\r");
  send("\r");
  send("USER_PGM OFF\r");
  send("SYSTEM\r");
  query_all(kw::ON_HOOK);
  send("CONNECT_S ALL ?\r");
  send("MON ALL ?\r");
  send("SECURITY_MODE ?\r");
  send("PIN ?\r");
  send("RING_LED ON\r");
  send("CONF ALL ON\r");
  send(state_.cor_reporting.load() ? "COR_LED ON\r" : "COR_LED OFF\r");
  send(state_.ptt_reporting.load() ? "PTT_LED ON\r" : "PTT_LED OFF\r");
}

void DeviceCommands::query_all(int keyword_index) {
  const std::string_view keyword = keyword_text(keyword_index);
  if (keyword.empty()) return;
  char line[64];
  std::snprintf(line, sizeof line, "%.*s ALL ?\r", static_cast<int>(keyword.size()),
                keyword.data());
  send(line);
}

void DeviceCommands::query_all_settings() {
  for (int keyword : kSweep) query_all(keyword);
  send("MEK_SQUELCH_TYPE ?\r");
}

void DeviceCommands::query_port_settings(int port, int mod_type) {
  if (port < 0 || port >= kPortCount) return;
  for (int keyword : port_queries(mod_type)) {
    const std::string_view text = keyword_text(keyword);
    char line[64];
    std::snprintf(line, sizeof line, "%.*s %.2d ?\r", static_cast<int>(text.size()), text.data(),
                  port);
    send(line);
  }
}

}  // namespace mav
