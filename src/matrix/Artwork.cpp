#include "matrix/Artwork.h"

namespace mav {

int ModuleIconId(int screen_size, bool half_width, int mod_type, int icon_color) {
  if (screen_size < 0 || screen_size >= kScreenSizeCount) return kNoIcon;
  if (mod_type < 1 || mod_type > kModuleTypeCount) return kNoIcon;
  if (icon_color < 0 || icon_color >= kIconColorCount) return kNoIcon;
  const int width_index = screen_size * 2 + (half_width ? 1 : 0);
  return kModuleIconBase + (width_index * kModuleTypeCount + (mod_type - 1)) * kIconColorCount +
         icon_color;
}

int RoleArtId(int screen_size, ArtRole role) {
  if (screen_size < 0 || screen_size >= kScreenSizeCount) return kNoIcon;
  return kRoleArtBase + screen_size * kRoleArtPitch + static_cast<int>(role);
}

ArtRole LinkedBarRole(int link) {
  switch (((link % 3) + 3) % 3) {
    case 0:
      return ArtRole::NetBarBlue;
    case 1:
      return ArtRole::NetBarRed;
    default:
      return ArtRole::NetBarOlive;
  }
}

int IconFor(const PortRecord& record, const MatrixLayout& layout) {
  if (record.icon_preset == 0) {
    const bool custom =
        record.icon_id >= kCustomIconBase && record.icon_id < kCustomIconBase + kCustomIconSlots;
    return custom ? record.icon_id : kNoIcon;
  }
  return ModuleIconId(layout.screen_size, layout.show_26_columns, static_cast<int>(record.mod_type),
                      record.icon_color);
}

}  // namespace mav
