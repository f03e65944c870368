#include "vocabulary/Vocabulary.h"

namespace mav {
namespace {

constexpr std::array<std::string_view, kKeywordCount> kKeywords = {
    "",
    "2W_4W",
    "ANSWER",
    "AUTO_ANS",
    "AUX_IN",
    "AUX_OUT",
    "BOOT",
    "BUSY",
    "CALLING_TIME",
    "CONF",
    "CONNECT",
    "CONNECT_S",
    "COR_INHIBIT",
    "COR_LED",
    "COR_POLARITY",
    "COR_SAMP_DELAY",
    "COR_SAMP_INTERVAL",
    "COR_SAMP_WIDTH",
    "COR_SAMPLING",
    "DB_TONE",
    "DEL_PIN",
    "DELAY_TIME",
    "DIAL",
    "DIAL_MODE",
    "DIAL_TONE_ENABLE",
    "DIAL_TONE_WAIT",
    "DISC",
    "DISC_S",
    "DISCH",
    "DTMF_MUTE_TIME",
    "DUPLEX",
    "EQ",
    "FREE_BUS",
    "KEYING_TONES",
    "MOD_TYPE",
    "MON",
    "ON_HOOK",
    "OP",
    "PEAKER",
    "PIN",
    "PIN_ACTIVITY",
    "PROMPT_DELAY",
    "PROMPT_LANG",
    "LINE_TIMEOUT",
    "LINE_TYPE",
    "PTT_LED",
    "PTT_PRIORITY",
    "RELAY",
    "RING_CADENCE",
    "RING_LED",
    "RINGBACK_ENABLE",
    "RX_LEVEL",
    "RX_SQUELCH",
    "SECURITY_LEVEL",
    "SECURITY_MODE",
    "SQUELCH_TYPE",
    "SYSTEM",
    "TONE_KEY_AMP",
    "TX_LEVEL",
    "USER_CONTROL",
    "USER_PGM",
    "VER",
    "VMR_THRESH",
    "VMR_HANG",
    "VPMTS",
    "TRUNK_TYPE",
    "RADIO_TYPE",
    "MEK_SQUELCH_TYPE",
};

constexpr std::array<std::string_view, kValueWordCount> kValueWords = {
    "0",    "30",   "1",     "CONT",      "POS",      "NEG",    "US",  "ALL",   "HALF",
    "FULL", "EURO", "OFF",   "EXCLUSIVE", "PRIORITY", "COR",    "VMR", "NOISE", "CTCSS",
    "VOX",  "DTMF", "PULSE", "NORM",      "ALT",      "SATCOM", "MIC",
};

}  // namespace

std::string_view keyword_text(int index) {
  if (index < 0 || index >= kKeywordCount) return {};
  return kKeywords[static_cast<std::size_t>(index)];
}

std::string_view value_word_text(int index) {
  if (index < 0 || index >= kValueWordCount) return {};
  return kValueWords[static_cast<std::size_t>(index)];
}

int lookup_value_word(std::string_view token) {
  for (int i = 0; i < kValueWordCount; ++i) {
    if (kValueWords[static_cast<std::size_t>(i)] == token) return i;
  }
  return vw::NOT_A_WORD;
}

int lookup_keyword(std::string_view word) {
  for (int i = 0; i < kKeywordCount; ++i) {
    if (kKeywords[static_cast<std::size_t>(i)] == word) return i;
  }
  return -1;
}

}  // namespace mav
