#include "service/SettingsByName.h"

#include "model/SettingsFields.h"
#include "vocabulary/Vocabulary.h"

namespace mav {
namespace {

// The keyword index a field's name stands for in the module's table; -1 when it has none.
int setting_keyword(const ModuleTable& table, std::string_view name) {
  for (const int keyword : table.send_order) {
    if (keyword_text(keyword) == name) return keyword;
  }
  return -1;
}

}  // namespace

NamedSettings settings_by_name(const ModuleTable& table, const ModuleSettings& settings) {
  NamedSettings named;
  for (const int keyword : table.send_order) {
    if (const auto value = read_setting(settings, keyword)) {
      named.emplace_back(std::string(keyword_text(keyword)), *value);
    }
  }
  return named;
}

const NamedSettings::value_type* store_by_name(const ModuleTable& table, const NamedSettings& named,
                                               ModuleSettings& settings) {
  const NamedSettings::value_type* rejected = nullptr;
  for (const auto& field : named) {
    const int keyword = setting_keyword(table, field.first);
    if (keyword < 0 || field.second < 0 || field.second > UINT32_MAX ||
        !store_setting(settings, keyword, static_cast<std::uint32_t>(field.second))) {
      if (rejected == nullptr) rejected = &field;
    }
  }
  return rejected;
}

}  // namespace mav
