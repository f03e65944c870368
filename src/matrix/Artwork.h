// Names of the matrix artwork. Every image is known by one number: the preset module icons by
// size, width, module type and colour, the other pieces by size and role, and the custom icons
// loaded from files by 551 + slot. The painter asks for numbers; the IconStore of the UI holds
// the images. Any thread.
#pragma once

#include "matrix/MatrixGeometry.h"
#include "model/PortRecord.h"

namespace mav {

inline constexpr int kIconColorCount = 8;  // Gray, Red, Orange, Yellow, Green, Cyan, Blue, Magenta
inline constexpr int kModuleTypeCount = 5;
inline constexpr int kDischGroupCount = 7;
inline constexpr int kCustomIconBase = 551;
inline constexpr int kCustomIconSlots = 26;
inline constexpr int kNoIcon = -1;

enum class ArtRole : int {
  Greyed13,
  Greyed26,
  LeftPanel,
  Header13,
  Header26,
  BottomPanel,
  BorderStrip,
  NetBarGreen,
  NetBarBlue,  // linked bars in the order of link number mod 3
  NetBarRed,
  NetBarOlive,
  BadgePermanent,
  BadgeMonitoring,
  BadgeDisch1,  // DISCH groups 0-6 show the numbers 1-7
  BadgeSelect = BadgeDisch1 + kDischGroupCount,
  LampCor,
  LampPtt,
  LampRing,
  Corner,
  MonitorOverlay,
  Count,
};

inline constexpr int kModuleIconCount =
    kScreenSizeCount * 2 * kModuleTypeCount * kIconColorCount;  // 240
inline constexpr int kModuleIconBase = 1;
inline constexpr int kRoleArtBase = 300;
inline constexpr int kRoleArtPitch = 32;  // per screen size
static_assert(static_cast<int>(ArtRole::Count) <= kRoleArtPitch);
static_assert(kModuleIconBase + kModuleIconCount <= kRoleArtBase);
static_assert(kRoleArtBase + kScreenSizeCount * kRoleArtPitch <= kCustomIconBase);

// kNoIcon for a size, module type (1-5) or colour (0-7) out of range.
int ModuleIconId(int screen_size, bool half_width, int mod_type, int icon_color);
// kNoIcon for a size out of range.
int RoleArtId(int screen_size, ArtRole role);
// Linked net bar by link number: mod 3 gives blue, red, olive yellow.
ArtRole LinkedBarRole(int link);

// Pixel sizes of the artwork; {0, 0} for a size out of range.
Size ModuleIconSize(int screen_size, bool half_width);
Size ArtSize(int screen_size, ArtRole role);

// The artwork for a port: its custom icon when icon_preset is 0 (icon_id; -1 draws nothing),
// otherwise the preset icon of its module type and colour.
int IconFor(const PortRecord& record, const MatrixLayout& layout);

}  // namespace mav
