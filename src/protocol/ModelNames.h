// The model names of the five module types, as the port records and the matrix show them.
#pragma once

#include <string_view>

namespace mav {

inline constexpr int kModelNameCount = 5;

// "TOV-5", "MEK-4", "LINE-7", "VOQ-3", "HK-6" for module types 1..5; empty for any other type.
// Any thread.
std::string_view model_name(int mod_type);
// The module type (1..5) a model name stands for; 0 for any other text.
int model_type_named(std::string_view name);

}  // namespace mav
