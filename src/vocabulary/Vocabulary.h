// The gateway protocol's vocabulary: the keyword table and the value-word table. A keyword's or
// value word's index is its identity on both the command and the reply side, so these tables
// are the one source of truth for the controller and the gateway simulator alike.
#pragma once

#include <array>
#include <string_view>

namespace mav {

// Keyword indices. Index 0 is the empty keyword (a lone "%" on the wire).
namespace kw {
enum Keyword : int {
  NONE = 0,
  TWO_W_FOUR_W = 1,  // "2W_4W"
  ANSWER,
  AUTO_ANS,
  AUX_IN,
  AUX_OUT,
  BOOT,
  BUSY,
  CALLING_TIME,
  CONF,
  CONNECT,
  CONNECT_S,
  COR_INHIBIT,
  COR_LED,
  COR_POLARITY,
  COR_SAMP_DELAY,
  COR_SAMP_INTERVAL,
  COR_SAMP_WIDTH,
  COR_SAMPLING,
  DB_TONE,
  DEL_PIN,
  DELAY_TIME,
  DIAL,
  DIAL_MODE,
  DIAL_TONE_ENABLE,
  DIAL_TONE_WAIT,
  DISC,
  DISC_S,
  DISCH,
  DTMF_MUTE_TIME,
  DUPLEX,
  EQ,
  FREE_BUS,
  KEYING_TONES,
  MOD_TYPE,
  MON,
  ON_HOOK,
  OP,
  PEAKER,  // spelled so on the wire, in queries and in the settings writer
  PIN,
  PIN_ACTIVITY,
  PROMPT_DELAY,
  PROMPT_LANG,
  LINE_TIMEOUT,
  LINE_TYPE,
  PTT_LED,
  PTT_PRIORITY,
  RELAY,
  RING_CADENCE,
  RING_LED,
  RINGBACK_ENABLE,
  RX_LEVEL,
  RX_SQUELCH,
  SECURITY_LEVEL,
  SECURITY_MODE,
  SQUELCH_TYPE,
  SYSTEM,
  TONE_KEY_AMP,
  TX_LEVEL,
  USER_CONTROL,
  USER_PGM,
  VER,
  VMR_THRESH,
  VMR_HANG,
  VPMTS,
  TRUNK_TYPE,
  RADIO_TYPE,
  MEK_SQUELCH_TYPE,
};
}  // namespace kw

inline constexpr int kKeywordCount = 68;

// Value-word indices, as received in ParsedReply::value.
namespace vw {
enum ValueWord : int {
  ZERO = 0,  // "0"
  THIRTY,    // "30"
  ONE,       // "1"
  CONT,
  POS,
  NEG,
  US,
  ALL,
  HALF,
  FULL,
  EURO,
  OFF,
  EXCLUSIVE,
  PRIORITY,
  COR,
  VMR,
  NOISE,
  CTCSS,
  VOX,
  DTMF,
  PULSE,
  NORM,
  ALT,
  SATCOM,
  MIC,
  NOT_A_WORD,  // what a lookup answers for a token that is no value word
};
}  // namespace vw

inline constexpr int kValueWordCount = 25;

// The keyword text of an index in 0..67 ("" for index 0 and for anything out of range).
std::string_view keyword_text(int index);

// The value word of an index in 0..24 ("" for anything else).
std::string_view value_word_text(int index);

// The index of the first value word equal to token; vw::NOT_A_WORD (25) when none is.
int lookup_value_word(std::string_view token);

// The index of the keyword equal to word (exact, case-sensitive); -1 when none is.
int lookup_keyword(std::string_view word);

}  // namespace mav

static_assert(mav::kw::MEK_SQUELCH_TYPE == mav::kKeywordCount - 1);
static_assert(mav::vw::MIC == mav::kValueWordCount - 1);
