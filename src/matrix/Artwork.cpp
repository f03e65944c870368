#include "matrix/Artwork.h"

namespace mav {
namespace {

struct ArtSizes {
  Size module_full, module_half, greyed_13, greyed_26, left_panel, header, bottom_panel, border,
      bar, linked_bar, badge, lamp, corner, overlay;
};

constexpr ArtSizes kArtSizes[kScreenSizeCount] = {
    {{48, 53},
     {24, 52},
     {48, 53},
     {24, 55},
     {61, 600},
     {739, 23},
     {739, 99},
     {4, 478},
     {748, 7},
     {750, 9},
     {26, 24},
     {26, 15},
     {53, 54},
     {57, 439}},
    {{61, 68},
     {31, 67},
     {61, 68},
     {31, 70},
     {78, 727},
     {946, 30},
     {946, 85},
     {5, 612},
     {957, 7},
     {962, 11},
     {33, 31},
     {33, 19},
     {68, 68},
     {73, 564}},
    {{76, 90},
     {39, 90},
     {76, 85},
     {39, 93},
     {98, 983},
     {1182, 38},
     {1182, 181},
     {6, 764},
     {1201, 9},
     {1203, 14},
     {41, 41},
     {41, 25},
     {86, 84},
     {92, 706}},
};

}  // namespace

Size ModuleIconSize(int screen_size, bool half_width) {
  if (screen_size < 0 || screen_size >= kScreenSizeCount) return {};
  const ArtSizes& s = kArtSizes[screen_size];
  return half_width ? s.module_half : s.module_full;
}

Size ArtSize(int screen_size, ArtRole role) {
  if (screen_size < 0 || screen_size >= kScreenSizeCount) return {};
  const ArtSizes& s = kArtSizes[screen_size];
  switch (role) {
    case ArtRole::Greyed13:
      return s.greyed_13;
    case ArtRole::Greyed26:
      return s.greyed_26;
    case ArtRole::LeftPanel:
      return s.left_panel;
    case ArtRole::Header13:
    case ArtRole::Header26:
      return s.header;
    case ArtRole::BottomPanel:
      return s.bottom_panel;
    case ArtRole::BorderStrip:
      return s.border;
    case ArtRole::NetBarGreen:
      return s.bar;
    case ArtRole::NetBarBlue:
    case ArtRole::NetBarRed:
    case ArtRole::NetBarOlive:
      return s.linked_bar;
    case ArtRole::LampCor:
    case ArtRole::LampPtt:
    case ArtRole::LampRing:
      return s.lamp;
    case ArtRole::Corner:
      return s.corner;
    case ArtRole::MonitorOverlay:
      return s.overlay;
    case ArtRole::Count:
      return {};
    default:  // the square badges: permanent, monitoring, DISCH 1-7, selection
      return s.badge;
  }
}

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
