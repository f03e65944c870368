#include "SettingCatalog.h"

#include <algorithm>
#include <vector>

#include "protocol/Vocabulary.h"

namespace mav::sim {
namespace {

SettingSpec number(int keyword, int min, int max, int factory) {
  return {keyword, SettingKind::kNumber, min, max, {}, 0, factory};
}

SettingSpec on_off(int keyword, bool factory_on) {
  return {keyword, SettingKind::kOnOff, 0, 1, {}, 0, factory_on ? 1 : 0};
}

SettingSpec word(int keyword, std::initializer_list<int> words, int factory) {
  SettingSpec spec{keyword, SettingKind::kWord, 0, 0, {}, 0, factory};
  for (int w : words) spec.words[static_cast<std::size_t>(spec.word_count++)] = w;
  return spec;
}

// Settings every module with voice prompts carries.
void add_prompt_settings(std::vector<SettingSpec>& specs, int prompt_delay) {
  specs.push_back(number(kw::PROMPT_DELAY, 0, 9, prompt_delay));
  specs.push_back(word(kw::PROMPT_LANG, {vw::US, vw::ALT}, vw::US));
}

// The COR sampling group and DTMF handling shared by the radio and signal-processing modules.
void add_radio_settings(std::vector<SettingSpec>& specs) {
  specs.push_back(word(kw::DUPLEX, {vw::HALF, vw::FULL}, vw::HALF));
  specs.push_back(word(kw::COR_POLARITY, {vw::POS, vw::NEG}, vw::NEG));
  specs.push_back(on_off(kw::COR_SAMPLING, false));
  specs.push_back(on_off(kw::PTT_PRIORITY, true));
  specs.push_back(number(kw::RX_LEVEL, 0, 9, 3));
  specs.push_back(number(kw::TX_LEVEL, 0, 9, 6));
  specs.push_back(number(kw::COR_SAMP_DELAY, 0, 9, 4));
  specs.push_back(number(kw::COR_SAMP_INTERVAL, 0, 9, 4));
  specs.push_back(number(kw::COR_SAMP_WIDTH, 0, 9, 2));
  specs.push_back(number(kw::COR_INHIBIT, 0, 9, 1));
}

// Settings of every module but the handset.
void add_port_settings(std::vector<SettingSpec>& specs) {
  specs.push_back(on_off(kw::USER_CONTROL, true));
  specs.push_back(number(kw::DTMF_MUTE_TIME, 0, 9, 0));
  specs.push_back(number(kw::SECURITY_LEVEL, 0, 9, 0));
  specs.push_back(on_off(kw::CONF, false));
}

std::vector<SettingSpec> radio_interface() {
  std::vector<SettingSpec> specs;
  add_radio_settings(specs);
  add_port_settings(specs);
  specs.push_back(number(kw::RADIO_TYPE, 0, 9, 0));
  add_prompt_settings(specs, 2);
  return specs;
}

std::vector<SettingSpec> handset() {
  std::vector<SettingSpec> specs;
  add_prompt_settings(specs, 0);
  return specs;
}

const std::initializer_list<int> kCallingTimes = {vw::ZERO, vw::THIRTY, vw::ONE, vw::CONT};

std::vector<SettingSpec> telephone_line() {
  std::vector<SettingSpec> specs;
  add_port_settings(specs);
  specs.push_back(number(kw::RX_LEVEL, 0, 8, 3));
  specs.push_back(number(kw::TX_LEVEL, 0, 9, 3));
  specs.push_back(number(kw::DELAY_TIME, 0, 7, 2));
  specs.push_back(number(kw::VMR_THRESH, 0, 3, 2));
  specs.push_back(number(kw::VMR_HANG, 0, 3, 1));
  specs.push_back(number(kw::LINE_TIMEOUT, 0, 5, 3));
  specs.push_back(word(kw::LINE_TYPE, {vw::NORM, vw::SATCOM}, vw::NORM));
  specs.push_back(word(kw::DIAL_MODE, {vw::DTMF, vw::PULSE}, vw::DTMF));
  specs.push_back(on_off(kw::DIAL_TONE_WAIT, true));
  specs.push_back(on_off(kw::AUTO_ANS, true));
  specs.push_back(word(kw::CALLING_TIME, kCallingTimes, vw::THIRTY));
  specs.push_back(number(kw::TWO_W_FOUR_W, 0, 4, 0));
  add_prompt_settings(specs, 0);
  return specs;
}

std::vector<SettingSpec> signal_processing() {
  std::vector<SettingSpec> specs;
  add_radio_settings(specs);
  add_port_settings(specs);
  specs.push_back(
      word(kw::SQUELCH_TYPE, {vw::COR, vw::VMR, vw::NOISE, vw::CTCSS, vw::VOX}, vw::VOX));
  specs.push_back(number(kw::VMR_HANG, 0, 7, 3));
  specs.push_back(number(kw::VMR_THRESH, 0, 3, 1));
  specs.push_back(number(kw::DELAY_TIME, 0, 7, 2));
  specs.push_back(number(kw::TRUNK_TYPE, 0, 4, 0));
  specs.push_back(on_off(kw::RX_SQUELCH, true));
  specs.push_back(number(kw::EQ, 1, 7, 4));
  specs.push_back(number(kw::PEAKER, 0, 9, 0));
  specs.push_back(number(kw::KEYING_TONES, 0, 2, 0));
  specs.push_back(number(kw::TONE_KEY_AMP, 0, 3, 1));
  specs.push_back(number(kw::OP, 0, 1, 1));
  add_prompt_settings(specs, 2);
  return specs;
}

std::vector<SettingSpec> local_phone() {
  std::vector<SettingSpec> specs;
  add_port_settings(specs);
  specs.push_back(number(kw::RX_LEVEL, 0, 9, 3));
  specs.push_back(number(kw::DELAY_TIME, 0, 7, 2));
  specs.push_back(number(kw::VMR_THRESH, 0, 3, 2));
  specs.push_back(number(kw::VMR_HANG, 0, 3, 1));
  specs.push_back(word(kw::DB_TONE, {vw::US}, vw::US));
  specs.push_back(word(kw::CALLING_TIME, kCallingTimes, vw::THIRTY));
  specs.push_back(on_off(kw::DIAL_TONE_ENABLE, true));
  specs.push_back(on_off(kw::RINGBACK_ENABLE, true));
  specs.push_back(word(kw::RING_CADENCE, {vw::US, vw::EURO}, vw::US));
  add_prompt_settings(specs, 0);
  return specs;
}

const std::array<std::vector<SettingSpec>, 6>& catalog() {
  static const std::array<std::vector<SettingSpec>, 6> kCatalog = {
      std::vector<SettingSpec>{}, radio_interface(),   handset(),
      telephone_line(),           signal_processing(), local_phone(),
  };
  return kCatalog;
}

}  // namespace

std::span<const SettingSpec> settings_of(int mod_type) {
  if (mod_type < 1 || mod_type > 5) return {};
  return catalog()[static_cast<std::size_t>(mod_type)];
}

const SettingSpec* find_setting(int mod_type, int keyword) {
  for (const SettingSpec& spec : settings_of(mod_type)) {
    if (spec.keyword == keyword) return &spec;
  }
  return nullptr;
}

bool is_setting_keyword(int keyword) {
  for (int type = 1; type <= 5; ++type) {
    if (find_setting(type, keyword) != nullptr) return true;
  }
  return false;
}

bool accepts(const SettingSpec& spec, int value) {
  switch (spec.kind) {
    case SettingKind::kNumber:
      return value >= spec.min && value <= spec.max;
    case SettingKind::kOnOff:
      return value == 0 || value == 1;
    case SettingKind::kWord:
      return std::find(spec.words.begin(), spec.words.begin() + spec.word_count, value) !=
             spec.words.begin() + spec.word_count;
  }
  return false;
}

}  // namespace mav::sim
