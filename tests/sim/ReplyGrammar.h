// An independent reading of the controller's reply grammar, used to check that every line the
// simulator sends would be taken by the controller's line parser. Stricter than the parser in
// two ways: numbers must be all digits and nothing may follow the status token.
#pragma once

#include <cctype>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace mav::sim::test {

inline std::vector<std::string> grammar_tokens(std::string_view line) {
  std::vector<std::string> tokens;
  std::string token;
  for (char c : line) {
    if (c == ' ' || c == '\r') {
      if (!token.empty()) tokens.push_back(token);
      token.clear();
    } else {
      token += c;
    }
  }
  if (!token.empty()) tokens.push_back(token);
  return tokens;
}

inline bool all_digits(const std::string& t, int base = 10) {
  if (t.empty()) return false;
  for (char c : t) {
    if (base == 10 ? !std::isdigit(static_cast<unsigned char>(c))
                   : !std::isxdigit(static_cast<unsigned char>(c))) {
      return false;
    }
  }
  return true;
}

inline bool is_status(const std::string& t) {
  return t.size() >= 2 && t[0] == 'E' && all_digits(t.substr(1));
}

// True when the controller's parser takes the line (without its carriage return) without a
// parse error.
inline bool parses_as_reply(std::string_view line) {
  static const std::vector<std::string> kKeywords = {"",
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
                                                     "MEK_SQUELCH_TYPE"};
  const std::vector<std::string> t = grammar_tokens(line);
  if (t.empty() || t[0][0] != '%') return false;
  const std::string keyword = t[0].substr(1);
  bool known = false;
  for (const std::string& k : kKeywords) known = known || k == keyword;
  if (!known) return false;
  if (keyword == "BUSY") return t.size() == 1;
  std::size_t at = 1;
  auto next = [&]() -> const std::string* { return at < t.size() ? &t[at++] : nullptr; };
  auto ends_with_status = [&]() {
    const std::string* s = next();
    return s != nullptr && is_status(*s) && at == t.size();
  };
  const std::string* a1 = next();
  if (a1 == nullptr) return false;
  if (keyword.empty()) return is_status(*a1) && at == t.size();
  const std::set<std::string> status_second = {
      "ANSWER",  "BOOT",     "COR_LED",       "DEL_PIN",  "DISC", "DISC_S", "DISCH",
      "PTT_LED", "RING_LED", "SECURITY_MODE", "USER_PGM", "VER",  "VPMTS",  "MEK_SQUELCH_TYPE"};
  if (keyword == "CONNECT" || keyword == "CONNECT_S") {
    if ((*a1)[0] == 'A') return true;
    if (!all_digits(*a1)) return false;
  } else if (keyword == "COR_LED" || keyword == "PTT_LED" || keyword == "RING_LED") {
    if ((*a1)[0] != 'O') {
      const std::string* low = next();
      if (!all_digits(*a1, 16) || low == nullptr || !all_digits(*low, 16)) return false;
    }
  } else if (keyword == "PIN") {
    if ((*a1)[0] == 'E') return is_status(*a1) && at == t.size();
    const std::string* level = next();
    return all_digits(*a1) && level != nullptr && all_digits(*level) && ends_with_status();
  } else if (keyword == "RELAY" || keyword == "FREE_BUS") {
    return true;
  } else if (keyword == "SYSTEM") {
    for (const std::string* n = a1; n != nullptr; n = next()) {
      if ((*n)[0] == 'E') return is_status(*n) && at == t.size();
      if (!all_digits(*n)) return false;
    }
    return false;
  } else if (keyword != "DEL_PIN" && keyword != "SECURITY_MODE" && keyword != "MEK_SQUELCH_TYPE" &&
             keyword != "USER_PGM" && keyword != "VPMTS" && keyword != "VER" && keyword != "DISC" &&
             keyword != "DISC_S" && keyword != "DISCH") {
    if (!all_digits(*a1)) return false;
  }
  if (status_second.count(keyword) != 0) return ends_with_status();
  if (keyword == "CONNECT" || keyword == "CONNECT_S" || keyword == "MON") {
    const std::string* n = next();
    while (n != nullptr && (*n)[0] < 'A') {
      if (!all_digits(*n)) return false;
      n = next();
    }
    if (n == nullptr) return false;
    if (keyword == "MON") return (*n)[0] == 'O' && ends_with_status();
    return is_status(*n) && at == t.size();
  }
  const std::string* a2 = next();
  if (a2 == nullptr) return false;
  const std::set<std::string> on_off = {
      "AUTO_ANS", "CONF",         "COR_SAMPLING",    "DIAL_TONE_ENABLE", "DIAL_TONE_WAIT",
      "ON_HOOK",  "PTT_PRIORITY", "RINGBACK_ENABLE", "RX_SQUELCH",       "USER_CONTROL"};
  const std::set<std::string> words = {"CALLING_TIME", "COR_POLARITY", "DB_TONE",
                                       "DIAL_MODE",    "DUPLEX",       "PROMPT_LANG",
                                       "RING_CADENCE", "SQUELCH_TYPE", "LINE_TYPE"};
  if (on_off.count(keyword) != 0 && (*a2)[0] != 'O') return false;
  if (on_off.count(keyword) == 0 && words.count(keyword) == 0 && keyword != "DIAL" &&
      keyword != "AUX_IN" && keyword != "AUX_OUT" && !all_digits(*a2)) {
    return false;
  }
  if (keyword == "PIN_ACTIVITY" && next() == nullptr) return false;
  return ends_with_status();
}

}  // namespace mav::sim::test
