// Which per-port settings each module type carries, the values each accepts and its factory value.
// The gateway answers a setting's query or command only on ports whose module carries it.
// Constant tables; any thread.
#pragma once

#include <array>
#include <span>

namespace mav::sim {

enum class SettingKind {
  kNumber,  // a decimal number in [min, max]
  kWord,    // one of `words` (value-word indices); sent as the word
  kOnOff,   // 1 = ON, 0 = OFF
};

struct SettingRule {
  int keyword = 0;  // keyword index of the setting
  SettingKind kind = SettingKind::kNumber;
  int min = 0;
  int max = 0;
  std::array<int, 5> words{};  // allowed value words, `word_count` of them
  int word_count = 0;
  int factory = 0;  // number, value-word index or 0/1
};

// The settings of a module type (1 to 5), in no particular order; empty for any other type.
std::span<const SettingRule> settings_of(int mod_type);

// The rule of one setting of a module type, or nullptr when the module does not carry it.
const SettingRule* find_setting(int mod_type, int keyword);

// The rule of the first module type that carries the keyword as a per-port setting, or nullptr
// when none does.
const SettingRule* any_setting_rule(int keyword);

// Whether a refused value of the setting is answered with the value asked for rather than the
// value kept. The controller stores the others whatever the status, so for them only the value
// kept leaves its model right; these it must ignore when refused.
bool refusal_reports_request(int keyword);

// Whether a value (number, value-word index or 0/1 as the kind says) is one the setting accepts.
bool accepts(const SettingRule& rule, int value);

}  // namespace mav::sim
