#include "SettingCatalog.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "vocabulary/Vocabulary.h"

namespace mav::sim {
namespace {

SettingRule number(int keyword, int min, int max, int factory) {
  return {keyword, SettingKind::kNumber, min, max, {}, 0, factory};
}

SettingRule on_off(int keyword, bool factory_on) {
  return {keyword, SettingKind::kOnOff, 0, 1, {}, 0, factory_on ? 1 : 0};
}

SettingRule word(int keyword, std::initializer_list<int> words, int factory) {
  SettingRule rule{keyword, SettingKind::kWord, 0, 0, {}, 0, factory};
  for (int w : words) rule.words[static_cast<std::size_t>(rule.word_count++)] = w;
  return rule;
}

// Settings every module with voice prompts carries.
void add_prompt_settings(std::vector<SettingRule>& rules, int prompt_delay) {
  rules.push_back(number(kw::PROMPT_DELAY, 0, 9, prompt_delay));
  rules.push_back(word(kw::PROMPT_LANG, {vw::US, vw::ALT}, vw::US));
}

// The COR sampling group and DTMF handling shared by the radio and signal-processing modules.
void add_radio_settings(std::vector<SettingRule>& rules) {
  rules.push_back(word(kw::DUPLEX, {vw::HALF, vw::FULL}, vw::HALF));
  rules.push_back(word(kw::COR_POLARITY, {vw::POS, vw::NEG}, vw::NEG));
  rules.push_back(on_off(kw::COR_SAMPLING, false));
  rules.push_back(on_off(kw::PTT_PRIORITY, true));
  rules.push_back(number(kw::RX_LEVEL, 0, 9, 3));
  rules.push_back(number(kw::TX_LEVEL, 0, 9, 6));
  rules.push_back(number(kw::COR_SAMP_DELAY, 0, 9, 4));
  rules.push_back(number(kw::COR_SAMP_INTERVAL, 0, 9, 4));
  rules.push_back(number(kw::COR_SAMP_WIDTH, 0, 9, 2));
  rules.push_back(number(kw::COR_INHIBIT, 0, 9, 1));
}

// Settings of every module but the handset.
void add_port_settings(std::vector<SettingRule>& rules) {
  rules.push_back(on_off(kw::USER_CONTROL, true));
  rules.push_back(number(kw::DTMF_MUTE_TIME, 0, 9, 0));
  rules.push_back(number(kw::SECURITY_LEVEL, 0, 9, 0));
  rules.push_back(on_off(kw::CONF, false));
}

std::vector<SettingRule> radio_interface() {
  std::vector<SettingRule> rules;
  add_radio_settings(rules);
  add_port_settings(rules);
  rules.push_back(number(kw::RADIO_TYPE, 0, 9, 0));
  add_prompt_settings(rules, 2);
  return rules;
}

std::vector<SettingRule> handset() {
  std::vector<SettingRule> rules;
  add_prompt_settings(rules, 0);
  return rules;
}

const std::initializer_list<int> kCallingTimes = {vw::ZERO, vw::THIRTY, vw::ONE, vw::CONT};

std::vector<SettingRule> telephone_line() {
  std::vector<SettingRule> rules;
  add_port_settings(rules);
  rules.push_back(number(kw::RX_LEVEL, 0, 8, 3));
  rules.push_back(number(kw::TX_LEVEL, 0, 9, 3));
  rules.push_back(number(kw::DELAY_TIME, 0, 7, 2));
  rules.push_back(number(kw::VMR_THRESH, 0, 3, 2));
  rules.push_back(number(kw::VMR_HANG, 0, 3, 1));
  rules.push_back(number(kw::LINE_TIMEOUT, 0, 5, 3));
  rules.push_back(word(kw::LINE_TYPE, {vw::NORM, vw::SATCOM}, vw::NORM));
  rules.push_back(word(kw::DIAL_MODE, {vw::DTMF, vw::PULSE}, vw::DTMF));
  rules.push_back(on_off(kw::DIAL_TONE_WAIT, true));
  rules.push_back(on_off(kw::AUTO_ANS, true));
  rules.push_back(word(kw::CALLING_TIME, kCallingTimes, vw::THIRTY));
  rules.push_back(number(kw::TWO_W_FOUR_W, 0, 4, 0));
  add_prompt_settings(rules, 0);
  return rules;
}

std::vector<SettingRule> signal_processing() {
  std::vector<SettingRule> rules;
  add_radio_settings(rules);
  add_port_settings(rules);
  rules.push_back(
      word(kw::SQUELCH_TYPE, {vw::COR, vw::VMR, vw::NOISE, vw::CTCSS, vw::VOX}, vw::VOX));
  rules.push_back(number(kw::VMR_HANG, 0, 7, 3));
  rules.push_back(number(kw::VMR_THRESH, 0, 3, 1));
  rules.push_back(number(kw::DELAY_TIME, 0, 7, 2));
  rules.push_back(number(kw::TRUNK_TYPE, 0, 4, 0));
  rules.push_back(on_off(kw::RX_SQUELCH, true));
  rules.push_back(number(kw::EQ, 1, 7, 4));
  rules.push_back(number(kw::PEAKER, 0, 9, 0));
  rules.push_back(number(kw::KEYING_TONES, 0, 2, 0));
  rules.push_back(number(kw::TONE_KEY_AMP, 0, 3, 1));
  rules.push_back(number(kw::OP, 0, 1, 1));
  add_prompt_settings(rules, 2);
  return rules;
}

std::vector<SettingRule> local_phone() {
  std::vector<SettingRule> rules;
  add_port_settings(rules);
  rules.push_back(number(kw::RX_LEVEL, 0, 9, 3));
  rules.push_back(number(kw::DELAY_TIME, 0, 7, 2));
  rules.push_back(number(kw::VMR_THRESH, 0, 3, 2));
  rules.push_back(number(kw::VMR_HANG, 0, 3, 1));
  rules.push_back(word(kw::DB_TONE, {vw::US}, vw::US));
  rules.push_back(word(kw::CALLING_TIME, kCallingTimes, vw::THIRTY));
  rules.push_back(on_off(kw::DIAL_TONE_ENABLE, true));
  rules.push_back(on_off(kw::RINGBACK_ENABLE, true));
  rules.push_back(word(kw::RING_CADENCE, {vw::US, vw::EURO}, vw::US));
  add_prompt_settings(rules, 0);
  return rules;
}

const std::array<std::vector<SettingRule>, 6>& catalog() {
  static const std::array<std::vector<SettingRule>, 6> kCatalog = {
      std::vector<SettingRule>{}, radio_interface(),   handset(),
      telephone_line(),           signal_processing(), local_phone(),
  };
  return kCatalog;
}

}  // namespace

std::span<const SettingRule> settings_of(int mod_type) {
  if (mod_type < 1 || mod_type > 5) return {};
  return catalog()[static_cast<std::size_t>(mod_type)];
}

const SettingRule* find_setting(int mod_type, int keyword) {
  for (const SettingRule& rule : settings_of(mod_type)) {
    if (rule.keyword == keyword) return &rule;
  }
  return nullptr;
}

const SettingRule* any_setting_rule(int keyword) {
  for (int type = 1; type <= 5; ++type) {
    if (const SettingRule* rule = find_setting(type, keyword)) return rule;
  }
  return nullptr;
}

bool refusal_reports_request(int keyword) {
  static constexpr int kReported[] = {kw::DTMF_MUTE_TIME,  kw::DUPLEX,       kw::OP,
                                      kw::RINGBACK_ENABLE, kw::RX_LEVEL,     kw::RX_SQUELCH,
                                      kw::SQUELCH_TYPE,    kw::TX_LEVEL,     kw::USER_CONTROL,
                                      kw::VMR_THRESH,      kw::VMR_HANG,     kw::TRUNK_TYPE,
                                      kw::RADIO_TYPE,      kw::RING_CADENCE, kw::SECURITY_LEVEL};
  return std::find(std::begin(kReported), std::end(kReported), keyword) != std::end(kReported);
}

bool accepts(const SettingRule& rule, int value) {
  switch (rule.kind) {
    case SettingKind::kNumber:
      return value >= rule.min && value <= rule.max;
    case SettingKind::kOnOff:
      return value == 0 || value == 1;
    case SettingKind::kWord:
      return std::find(rule.words.begin(), rule.words.begin() + rule.word_count, value) !=
             rule.words.begin() + rule.word_count;
  }
  return false;
}

}  // namespace mav::sim
