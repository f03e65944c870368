// Where icons, boxes, bars and badges stand, in every size and layout.
#include <gtest/gtest.h>

#include "matrix/Artwork.h"
#include "matrix/MatrixGeometry.h"

namespace mav {
namespace {

TEST(Geometry, ColumnLeftForEverySizeAndLayout) {
  const struct {
    int size;
    bool wide;
    int port;
    int left;
  } cases[] = {
      {0, true, 0, 65},  {0, true, 25, 765},  {0, false, 0, 66},  {0, false, 12, 738},
      {1, true, 0, 83},  {1, true, 25, 983},  {1, false, 0, 84},  {1, false, 12, 948},
      {2, true, 0, 104}, {2, true, 25, 1204}, {2, false, 0, 106}, {2, false, 12, 1186},
      {3, false, 4, 0},  {-1, true, 4, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ColumnLeft({c.size, c.wide}, c.port), c.left) << c.size << " " << c.port;
  }
}

TEST(Geometry, RowsOfNets) {
  EXPECT_EQ(IconTop(0, RowOfNet(GROUP_NONE)), 27);
  EXPECT_EQ(IconTop(0, RowOfNet(0)), 27);
  EXPECT_EQ(IconTop(0, RowOfNet(1)), 87);
  EXPECT_EQ(IconTop(0, RowOfNet(7)), 447);
  EXPECT_EQ(IconTop(1, RowOfNet(7)), 574);
  EXPECT_EQ(IconTop(2, RowOfNet(3)), 331);
  EXPECT_EQ(IconTop(2, RowOfNet(8)), 43);  // a damaged net number counts as no net
  EXPECT_EQ(IconHeight(0), 52);
  EXPECT_EQ(IconHeight(1), 67);
  EXPECT_EQ(IconHeight(2), 90);
}

TEST(Geometry, NameBoxUnderTheIconExceptInNetSeven) {
  EXPECT_EQ(NameBox({0, true}, 0, 0), (Rect{65, 79, 90, 94}));
  EXPECT_EQ(NameBox({0, false}, 1, 6), (Rect{122, 439, 170, 454}));
  EXPECT_EQ(NameBox({0, false}, 0, 7), (Rect{66, 432, 114, 447}));
  EXPECT_EQ(NameBox({1, true}, 1, 2), (Rect{119, 256, 151, 271}));
  EXPECT_EQ(NameBox({1, false}, 0, 7), (Rect{84, 559, 145, 574}));
  EXPECT_EQ(NameBox({2, true}, 0, 1), (Rect{104, 229, 143, 244}));
  EXPECT_EQ(NameBox({2, false}, 0, 7), (Rect{106, 700, 182, 715}));
  // The monitor list follows under the name, or above it in net 7.
  EXPECT_EQ(MonitorListBox({0, true}, 0, 0), (Rect{65, 94, 90, 109}));
  EXPECT_EQ(MonitorListBox({0, true}, 0, 7), (Rect{65, 417, 90, 432}));
  EXPECT_EQ(MonitorListBox({2, false}, 0, 7), (Rect{106, 685, 182, 700}));
}

TEST(Geometry, NetBars) {
  EXPECT_EQ(NetBarAt(0, 1, false).x, 48);
  EXPECT_EQ(NetBarAt(0, 1, true).x, 49);
  EXPECT_EQ(NetBarAt(0, 1, false).y, 110);
  EXPECT_EQ(NetBarAt(0, 7, true).y, 470);
  EXPECT_EQ(NetBarAt(1, 1, false).x, 63);
  EXPECT_EQ(NetBarAt(1, 2, true).x, 62);
  EXPECT_EQ(NetBarAt(1, 2, true).y, 216);
  EXPECT_EQ(NetBarAt(2, 7, false).x, 78);
  EXPECT_EQ(NetBarAt(2, 7, true).y, 752);
}

TEST(Geometry, BadgePlaces) {
  // 26 columns: every badge and lamp at icon left - 1.
  const MatrixLayout wide{0, true};
  EXPECT_EQ(BadgeAt(wide, 65, 27, BadgeSlot::Permanent).x, 64);
  EXPECT_EQ(BadgeAt(wide, 65, 27, BadgeSlot::Permanent).y, 26);
  EXPECT_EQ(BadgeAt(wide, 65, 27, BadgeSlot::Monitoring).x, 64);
  EXPECT_EQ(BadgeAt(wide, 65, 27, BadgeSlot::Monitoring).y, 57);
  EXPECT_EQ(BadgeAt(wide, 65, 27, BadgeSlot::Cor).y, 27);
  EXPECT_EQ(BadgeAt(wide, 65, 27, BadgeSlot::PttOrRing).y, 42);
  // 13 columns: monitoring and lamps over the right half, permanent and DISCH on the left.
  const struct {
    int size;
    int right;
    int low_lamp;
    int low_badge;
  } sizes[] = {{0, 23, 15, 30}, {1, 29, 19, 38}, {2, 37, 24, 48}};
  for (const auto& s : sizes) {
    const MatrixLayout narrow{s.size, false};
    EXPECT_EQ(BadgeAt(narrow, 100, 200, BadgeSlot::Monitoring).x, 100 + s.right);
    EXPECT_EQ(BadgeAt(narrow, 100, 200, BadgeSlot::Monitoring).y, 200 + s.low_badge);
    EXPECT_EQ(BadgeAt(narrow, 100, 200, BadgeSlot::Cor).x, 100 + s.right);
    EXPECT_EQ(BadgeAt(narrow, 100, 200, BadgeSlot::PttOrRing).y, 200 + s.low_lamp);
    EXPECT_EQ(BadgeAt(narrow, 100, 200, BadgeSlot::Disch).x, 99);
    EXPECT_EQ(BadgeAt(narrow, 100, 200, BadgeSlot::Disch).y, 200 + s.low_badge);
    EXPECT_EQ(BadgeAt(narrow, 100, 200, BadgeSlot::Permanent).y, 199);
  }
}

TEST(Geometry, CustomIconsOnePixelLargerThanTheIconCell) {
  EXPECT_EQ(CustomIconDrawSize({0, true}), (Size{25, 53}));
  EXPECT_EQ(CustomIconDrawSize({0, false}), (Size{48, 53}));
  EXPECT_EQ(CustomIconDrawSize({1, true}), (Size{32, 68}));
  EXPECT_EQ(CustomIconDrawSize({1, false}), (Size{61, 68}));
  EXPECT_EQ(CustomIconDrawSize({2, true}), (Size{39, 91}));
  EXPECT_EQ(CustomIconDrawSize({2, false}), (Size{76, 91}));
}

TEST(Artwork, IconForPresetAndCustom) {
  PortRecord record{};
  record.mod_type = MOD_LINE7;
  record.icon_preset = 1;
  record.icon_color = 7;
  const int id = IconFor(record, {1, false});
  EXPECT_NE(id, kNoIcon);
  EXPECT_NE(id, IconFor(record, {1, true}));  // half width is a different picture
  record.icon_color = 8;
  EXPECT_EQ(IconFor(record, {1, false}), kNoIcon);
  record.icon_color = 0;
  record.mod_type = 6;
  EXPECT_EQ(IconFor(record, {1, false}), kNoIcon);
  record.mod_type = MOD_TOV5;
  EXPECT_EQ(IconFor(record, {3, false}), kNoIcon);

  record.icon_preset = 0;
  record.icon_id = 551;
  EXPECT_EQ(IconFor(record, {0, true}), 551);
  record.icon_id = 576;
  EXPECT_EQ(IconFor(record, {0, true}), 576);
  for (int bad : {-1, 577, 550, 5}) {
    record.icon_id = bad;
    EXPECT_EQ(IconFor(record, {0, true}), kNoIcon) << bad;
  }
}

}  // namespace
}  // namespace mav
