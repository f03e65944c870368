#include "model/SettingsFields.h"

#include <array>

#include "vocabulary/Vocabulary.h"

namespace mav {
namespace {

// Exactly one of the two member pointers is set. A field without a reset value keeps what it
// holds across a reset (the gateway never reports it back on its own).
struct SettingsField {
  int keyword;
  std::uint8_t ModuleSettings::*byte_field;
  std::uint32_t ModuleSettings::*word_field;
  std::optional<std::uint32_t> reset_value;
};

constexpr SettingsField Byte(int keyword, std::uint8_t ModuleSettings::*field,
                             std::optional<std::uint32_t> reset_value) {
  return {keyword, field, nullptr, reset_value};
}

constexpr SettingsField Word(int keyword, std::uint32_t ModuleSettings::*field,
                             std::uint32_t reset_value) {
  return {keyword, nullptr, field, reset_value};
}

constexpr std::uint32_t kSquelchTypeVox = vw::VOX;
constexpr std::optional<std::uint32_t> kKept = std::nullopt;

constexpr std::array kFields = {
    Byte(kw::TWO_W_FOUR_W, &ModuleSettings::two_w_four_w, 0),
    Byte(kw::DELAY_TIME, &ModuleSettings::delay_time, 0),
    Byte(kw::EQ, &ModuleSettings::eq, 1),
    Byte(kw::AUTO_ANS, &ModuleSettings::auto_ans, 1),
    Word(kw::CALLING_TIME, &ModuleSettings::calling_time, 1),
    Byte(kw::CONF, &ModuleSettings::conf, 0),
    Byte(kw::COR_INHIBIT, &ModuleSettings::cor_inhibit, 0),
    Byte(kw::COR_POLARITY, &ModuleSettings::cor_polarity, 1),
    Byte(kw::COR_SAMPLING, &ModuleSettings::cor_sampling, 1),
    Byte(kw::COR_SAMP_DELAY, &ModuleSettings::cor_samp_delay, 0),
    Byte(kw::COR_SAMP_INTERVAL, &ModuleSettings::cor_samp_interval, 0),
    Byte(kw::COR_SAMP_WIDTH, &ModuleSettings::cor_samp_width, 0),
    Byte(kw::DB_TONE, &ModuleSettings::db_tone, 0),
    Byte(kw::DIAL_TONE_ENABLE, &ModuleSettings::dial_tone_enable, 1),
    Byte(kw::DIAL_TONE_WAIT, &ModuleSettings::dial_tone_wait, 1),
    Byte(kw::DTMF_MUTE_TIME, &ModuleSettings::dtmf_mute_time, 0),
    Byte(kw::DUPLEX, &ModuleSettings::duplex, 1),
    Byte(kw::KEYING_TONES, &ModuleSettings::keying_tones, 0),
    Byte(kw::TONE_KEY_AMP, &ModuleSettings::tone_key_amp, 3),
    Byte(kw::ON_HOOK, &ModuleSettings::on_hook, 1),
    Byte(kw::OP, &ModuleSettings::op, 0),
    Byte(kw::PEAKER, &ModuleSettings::peaker, 0),
    Byte(kw::PROMPT_DELAY, &ModuleSettings::prompt_delay, kKept),
    Byte(kw::PROMPT_LANG, &ModuleSettings::prompt_lang, kKept),
    Byte(kw::LINE_TYPE, &ModuleSettings::line_type, 1),
    Byte(kw::LINE_TIMEOUT, &ModuleSettings::line_timeout, 3),
    Byte(kw::PTT_PRIORITY, &ModuleSettings::ptt_priority, 0),
    Byte(kw::RADIO_TYPE, &ModuleSettings::radio_type, 0),
    Byte(kw::RINGBACK_ENABLE, &ModuleSettings::ringback_enable, 1),
    Byte(kw::RX_LEVEL, &ModuleSettings::rx_level, 3),
    Byte(kw::RX_SQUELCH, &ModuleSettings::rx_squelch, 1),
    Byte(kw::SECURITY_LEVEL, &ModuleSettings::security_level, 0),
    Word(kw::SQUELCH_TYPE, &ModuleSettings::squelch_type, kSquelchTypeVox),
    Byte(kw::DIAL_MODE, &ModuleSettings::dial_mode, 1),
    Byte(kw::TRUNK_TYPE, &ModuleSettings::trunk_type, 0),
    Byte(kw::TX_LEVEL, &ModuleSettings::tx_level, 3),
    Byte(kw::USER_CONTROL, &ModuleSettings::user_control, 1),
    Byte(kw::RING_CADENCE, &ModuleSettings::ring_cadence, 1),
    Byte(kw::VMR_THRESH, &ModuleSettings::vmr_thresh, 1),
    Byte(kw::VMR_HANG, &ModuleSettings::vmr_hang, 3),
};

// Keyword index -> position in kFields, or -1; the reply handlers look a field up per line.
constexpr auto kFieldOfKeyword = [] {
  std::array<int, kKeywordCount> positions{};
  positions.fill(-1);
  for (std::size_t i = 0; i < kFields.size(); ++i) {
    positions[static_cast<std::size_t>(kFields[i].keyword)] = static_cast<int>(i);
  }
  return positions;
}();

const SettingsField* find_field(int keyword) {
  if (keyword < 0 || keyword >= kKeywordCount) return nullptr;
  const int position = kFieldOfKeyword[static_cast<std::size_t>(keyword)];
  return position < 0 ? nullptr : &kFields[static_cast<std::size_t>(position)];
}

void put(ModuleSettings& settings, const SettingsField& field, std::uint32_t value) {
  if (field.word_field != nullptr) {
    settings.*field.word_field = value;
  } else {
    settings.*field.byte_field = static_cast<std::uint8_t>(value & 0xFFu);
  }
}

}  // namespace

std::optional<std::uint32_t> read_setting(const ModuleSettings& settings, int keyword) {
  const SettingsField* field = find_field(keyword);
  if (field == nullptr) return std::nullopt;
  if (field->word_field != nullptr) return settings.*field->word_field;
  return settings.*field->byte_field;
}

bool store_setting(ModuleSettings& settings, int keyword, std::uint32_t value) {
  const SettingsField* field = find_field(keyword);
  if (field == nullptr) return false;
  put(settings, *field, value);
  return true;
}

void reset_settings(ModuleSettings& settings) {
  for (const SettingsField& field : kFields) {
    if (field.reset_value) put(settings, field, *field.reset_value);
  }
  settings.reserved2 = 0;
}

}  // namespace mav
