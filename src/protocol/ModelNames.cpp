#include "protocol/ModelNames.h"

#include <array>

namespace mav {
namespace {

constexpr std::array<std::string_view, kModelNameCount> kModelNames = {
    "TOV-5", "MEK-4", "LINE-7", "VOQ-3", "HK-6",
};

}  // namespace

std::string_view model_name(int mod_type) {
  if (mod_type < 1 || mod_type > kModelNameCount) return {};
  return kModelNames[static_cast<std::size_t>(mod_type - 1)];
}

int model_type_named(std::string_view name) {
  for (int type = 1; type <= kModelNameCount; ++type) {
    if (kModelNames[static_cast<std::size_t>(type - 1)] == name) return type;
  }
  return 0;
}

}  // namespace mav
