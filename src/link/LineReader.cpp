#include "link/LineReader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "vocabulary/Vocabulary.h"

namespace mav {
namespace {

bool begins_with(std::string_view token, char letter) {
  return !token.empty() && token.front() == letter;
}

bool is_on(std::string_view token) {
  return token == "ON";
}

int digit_value(char c, int base) {
  if (c >= '0' && c <= '9') return c - '0';
  if (base == 16 && c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (base == 16 && c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// An optional sign and the leading digits; the rest of the token is ignored ("07x" gives 7).
// Over-long numbers wrap rather than overflow. digits_read tells a number from none at all.
int read_number(std::string_view token, int base, bool* digits_read = nullptr) {
  std::size_t at = 0;
  const bool negative = !token.empty() && token[0] == '-';
  if (!token.empty() && (token[0] == '-' || token[0] == '+')) at = 1;
  std::uint32_t magnitude = 0;
  const std::size_t first_digit = at;
  for (; at < token.size(); ++at) {
    const int digit = digit_value(token[at], base);
    if (digit < 0) break;
    magnitude = magnitude * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(digit);
  }
  if (digits_read) *digits_read = at > first_digit;
  return static_cast<int>(negative ? 0u - magnitude : magnitude);
}

int decimal(std::string_view token) {
  return read_number(token, 10);
}

// Numbers of a list sort below the letters: digits, and signs or other marks that read as 0.
bool is_list_number(std::string_view token) {
  return static_cast<unsigned char>(token.front()) < static_cast<unsigned char>('A');
}

}  // namespace

// Blank- and carriage-return-separated tokens of one line; runs of separators count as one.
class LineReader::Tokens {
 public:
  explicit Tokens(std::string_view line) : rest_(line) {}
  bool next(std::string_view& token) {
    const std::size_t start = rest_.find_first_not_of(" \r");
    if (start == std::string_view::npos) return false;
    rest_.remove_prefix(start);
    const std::size_t end = std::min(rest_.find_first_of(" \r"), rest_.size());
    token = rest_.substr(0, end);
    rest_.remove_prefix(end);
    return true;
  }

 private:
  std::string_view rest_;
};

void LineReader::read_step() {
  if (reply_.pending) return;
  if (!ring_.next_line(line_)) return;
  reply_.pending = true;
  reply_.parse_error = false;
  parse(line_.view());
}

void LineReader::parse(std::string_view line) {
  Tokens tokens(line);
  std::string_view token;
  bool done = false;
  const auto fail = [this] { reply_.parse_error = true; };

  if (!tokens.next(token) || !begins_with(token, '%')) return fail();
  const int keyword = lookup_keyword(token.substr(1));
  if (keyword < 0) return fail();
  reply_.valid = true;
  reply_.keyword = keyword;
  if (keyword == kw::BUSY) return reset_fields();

  if (!tokens.next(token)) return fail();
  reset_fields();
  if (keyword == kw::NONE) return read_status(token);
  if (!first_argument(token, tokens, done)) return fail();
  if (done) return;

  if (!tokens.next(token)) return fail();
  if (!second_argument(token, tokens, done)) return fail();
  if (done) return;

  if (keyword == kw::PIN_ACTIVITY) {
    if (!tokens.next(token)) return fail();
    set_text(token);
  }
  // Only the closing status token must carry its letter.
  if (!tokens.next(token) || !begins_with(token, 'E')) return fail();
  read_status(token);
}

bool LineReader::first_argument(std::string_view token, Tokens& tokens, bool& done) {
  switch (reply_.keyword) {
    case kw::CONNECT:
    case kw::CONNECT_S:
      if (begins_with(token, 'A')) {
        reply_.status = 10;  // "ALL": the gateway refuses a port list here
        done = true;
      } else {
        reply_.port = decimal(token);
      }
      return true;
    case kw::COR_LED:
    case kw::PTT_LED:
    case kw::RING_LED: {
      if (begins_with(token, 'O')) {
        reply_.flag = is_on(token);
        return true;
      }
      std::string_view low;
      if (!tokens.next(low)) return false;
      const auto high_word = static_cast<std::uint32_t>(read_number(token, 16));
      const auto low_word = static_cast<std::uint32_t>(read_number(low, 16));
      reply_.value = static_cast<int>(high_word * 65536u + low_word);
      return true;
    }
    case kw::DEL_PIN:
      reply_.port = lookup_value_word(token);
      if (reply_.port == vw::NOT_A_WORD) reply_.value = decimal(token);
      return true;
    case kw::DISC:
    case kw::DISC_S:
    case kw::DISCH:
      reply_.port = begins_with(token, 'A') ? kPortAll : decimal(token);
      return true;
    case kw::PIN: {
      done = true;
      if (!begins_with(token, 'E')) {
        reply_.value = decimal(token);
        if (!tokens.next(token)) return false;
        reply_.port = decimal(token);
        if (!tokens.next(token)) return false;
      }
      read_status(token);
      return true;
    }
    case kw::RELAY:
      set_text(token);
      done = true;
      return true;
    case kw::SECURITY_MODE:
    case kw::MEK_SQUELCH_TYPE:
      reply_.value = lookup_value_word(token);
      return true;
    case kw::SYSTEM: {
      std::string_view ended_by;
      done = true;
      if (!read_list(token, tokens, ended_by, true)) return false;
      read_status(ended_by);
      return true;
    }
    case kw::USER_PGM:
    case kw::VPMTS:
      reply_.flag = is_on(token);
      return true;
    case kw::VER:
      set_text(token);
      return true;
    case kw::FREE_BUS:
      done = true;
      return true;
    default:
      reply_.port = decimal(token);
      return true;
  }
}

bool LineReader::second_argument(std::string_view token, Tokens& tokens, bool& done) {
  switch (reply_.keyword) {
    case kw::TWO_W_FOUR_W:
    case kw::COR_INHIBIT:
    case kw::COR_SAMP_DELAY:
    case kw::COR_SAMP_INTERVAL:
    case kw::COR_SAMP_WIDTH:
    case kw::DELAY_TIME:
    case kw::DTMF_MUTE_TIME:
    case kw::EQ:
    case kw::KEYING_TONES:
    case kw::MOD_TYPE:
    case kw::OP:
    case kw::PEAKER:
    case kw::PIN_ACTIVITY:
    case kw::PROMPT_DELAY:
    case kw::LINE_TIMEOUT:
    case kw::RX_LEVEL:
    case kw::SECURITY_LEVEL:
    case kw::TONE_KEY_AMP:
    case kw::TX_LEVEL:
    case kw::VMR_HANG:
    case kw::TRUNK_TYPE:
    case kw::RADIO_TYPE:
      reply_.value = decimal(token);
      return true;
    case kw::VMR_THRESH:
      reply_.value = decimal(token);
      if (reply_.value == 9) reply_.value = 0;  // the gateway's 9 is the lowest threshold
      return true;
    case kw::CALLING_TIME:
    case kw::COR_POLARITY:
    case kw::DB_TONE:
    case kw::DIAL_MODE:
    case kw::DUPLEX:
    case kw::PROMPT_LANG:
    case kw::RING_CADENCE:
    case kw::SQUELCH_TYPE:
      reply_.value = lookup_value_word(token);
      return true;
    case kw::LINE_TYPE:
      reply_.value = lookup_value_word(token);
      reply_.flag = reply_.value == vw::NORM;
      return true;
    case kw::AUX_IN:
      if (begins_with(token, 'O')) reply_.flag = is_on(token);
      return true;  // otherwise a level nothing uses
    case kw::AUX_OUT:
      return true;  // a level nothing uses
    case kw::DIAL:
      set_text(token);
      return true;
    case kw::CONNECT:
    case kw::CONNECT_S:
    case kw::MON: {
      std::string_view ended_by;
      if (!read_list(token, tokens, ended_by, false)) return false;
      done = true;
      if (reply_.keyword == kw::MON) {
        reply_.flag = is_on(ended_by);
        if (!tokens.next(token)) return false;
        ended_by = token;
      }
      read_status(ended_by);
      return true;
    }
    case kw::ANSWER:
    case kw::BOOT:
    case kw::COR_LED:
    case kw::DEL_PIN:
    case kw::DISC:
    case kw::DISC_S:
    case kw::DISCH:
    case kw::PTT_LED:
    case kw::RING_LED:
    case kw::SECURITY_MODE:
    case kw::USER_PGM:
    case kw::VER:
    case kw::VPMTS:
    case kw::MEK_SQUELCH_TYPE:
      done = true;
      read_status(token);
      return true;
    default:  // the on/off settings
      if (!begins_with(token, 'O')) return false;
      reply_.flag = is_on(token);
      return true;
  }
}

bool LineReader::read_list(std::string_view token, Tokens& tokens, std::string_view& ended_by,
                           bool stop_at_status) {
  // Numbers beyond the 26 the gateway has ports for are read past but not kept.
  int count = 0;
  reply_.list[0] = kListEnd;
  while (stop_at_status ? !begins_with(token, 'E') : is_list_number(token)) {
    if (count < kReplyListSize) {
      reply_.list[count++] = static_cast<std::uint16_t>(decimal(token));
      reply_.list[count] = kListEnd;
    }
    if (!tokens.next(token)) return false;
  }
  ended_by = token;
  return true;
}

void LineReader::read_status(std::string_view token) {
  bool digits_read = false;
  const int status = read_number(token.substr(1), 10, &digits_read);
  reply_.status = digits_read ? status : -1;
}

void LineReader::reset_fields() {
  reply_.flag = false;
  reply_.value = 0;
  reply_.status = -1;
  reply_.port = kNoPortRead;
}

void LineReader::set_text(std::string_view token) {
  const std::size_t length = std::min(token.size(), static_cast<std::size_t>(kReplyTextSize - 1));
  std::memcpy(reply_.text, token.data(), length);
  reply_.text[length] = '\0';
}

}  // namespace mav
