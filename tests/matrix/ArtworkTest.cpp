// Where icons, boxes, bars and badges stand, in every size and layout, and which artwork a port
// shows.
#include <gtest/gtest.h>

#include "matrix/Artwork.h"
#include "matrix/MatrixGeometry.h"

namespace mav {
namespace {

TEST(Geometry, RowsAndNetBarsOfEverySize) {
  // icon top of row 0 and of net 7, icon height, bar x and y of net 1, linked bar of net 7
  const int sizes[][8] = {{27, 447, 52, 48, 110, 49, 470},
                          {35, 574, 67, 63, 139, 62, 601},
                          {43, 715, 90, 78, 176, 78, 752}};
  for (int size = 0; size < 3; ++size) {
    const int* s = sizes[size];
    // No net, and a damaged net number, stand in row 0.
    for (int net : {int{GROUP_NONE}, 0, 8}) EXPECT_EQ(IconTop(size, RowOfNet(net)), s[0]) << size;
    EXPECT_EQ((std::vector{IconTop(size, RowOfNet(7)), IconHeight(size), NetBarAt(size, 1, false).x,
                           NetBarAt(size, 1, false).y, NetBarAt(size, 7, true).x,
                           NetBarAt(size, 7, true).y}),
              std::vector<int>(s + 1, s + 7))
        << size;
  }
  EXPECT_EQ(IconTop(0, RowOfNet(1)), 87);
  EXPECT_EQ(IconTop(2, RowOfNet(3)), 331);
}

// Columns, and the name and monitor-list boxes: under the icon of port 1 in net 2, and above
// the icon of port 0 in net 7 (the list above the name).
TEST(Geometry, ColumnsAndLabelBoxesOfEveryLayout) {
  const struct {
    MatrixLayout layout;
    int left_last;
    Rect name_net2, name_net7;
    int custom_icon_width;  // one pixel wider than the icon cell
  } layouts[] = {
      {{0, true}, 765, {93, 199, 118, 214}, {65, 432, 90, 447}, 25},
      {{0, false}, 738, {122, 199, 170, 214}, {66, 432, 114, 447}, 48},
      {{1, true}, 983, {119, 256, 151, 271}, {83, 559, 115, 574}, 32},
      {{1, false}, 948, {156, 256, 217, 271}, {84, 559, 145, 574}, 61},
      {{2, true}, 1204, {148, 325, 187, 340}, {104, 700, 143, 715}, 39},
      {{2, false}, 1186, {196, 325, 272, 340}, {106, 700, 182, 715}, 76},
  };
  const Size icon_heights[] = {{0, 53}, {0, 68}, {0, 91}};
  for (const auto& l : layouts) {
    SCOPED_TRACE(testing::Message() << l.layout.screen_size << " " << l.layout.columns());
    const int columns = l.layout.columns();
    EXPECT_EQ(ColumnLeft(l.layout, 0), l.name_net7.left);
    EXPECT_EQ(ColumnLeft(l.layout, columns - 1), l.left_last);
    const Rect below{l.name_net2.left, l.name_net2.bottom, l.name_net2.right,
                     l.name_net2.bottom + 15};
    const Rect above{l.name_net7.left, l.name_net7.top - 15, l.name_net7.right, l.name_net7.top};
    EXPECT_EQ(NameBox(l.layout, 1, RowOfNet(2)), l.name_net2);
    EXPECT_EQ(MonitorListBox(l.layout, 1, RowOfNet(2)), below);
    EXPECT_EQ(NameBox(l.layout, 0, RowOfNet(7)), l.name_net7);
    EXPECT_EQ(MonitorListBox(l.layout, 0, RowOfNet(7)), above);
    EXPECT_EQ(CustomIconDrawSize(l.layout),
              (Size{l.custom_icon_width, icon_heights[l.layout.screen_size].height}));
  }
  EXPECT_EQ(ColumnLeft({3, false}, 4), 0);  // no such screen size
  EXPECT_EQ(ColumnLeft({-1, true}, 4), 0);
}

// The PTT and ringing lamps and the monitoring and DISCH badges stand low on the icon. In 26
// columns everything stands at icon left - 1; in 13 columns only the permanent and DISCH badges
// do, the rest goes over the icon's right half.
TEST(Geometry, BadgePlaces) {
  const int sizes[][3] = {{15, 30, 23}, {19, 38, 29}, {24, 48, 37}};  // lamp, badge, right in 13
  for (int size = 0; size < 3; ++size) {
    for (bool wide : {false, true}) {
      SCOPED_TRACE(testing::Message() << size << wide);
      const auto at = [&](BadgeSlot slot) {
        const Point p = BadgeAt({size, wide}, 100, 200, slot);
        return std::pair{p.x, p.y};
      };
      const int right = wide ? 99 : 100 + sizes[size][2];
      EXPECT_EQ(at(BadgeSlot::Permanent), std::pair(99, 199));
      EXPECT_EQ(at(BadgeSlot::Disch), std::pair(99, 200 + sizes[size][1]));
      EXPECT_EQ(at(BadgeSlot::Monitoring), std::pair(right, 200 + sizes[size][1]));
      EXPECT_EQ(at(BadgeSlot::Cor), std::pair(right, 200));
      EXPECT_EQ(at(BadgeSlot::PttOrRing), std::pair(right, 200 + sizes[size][0]));
    }
  }
}

TEST(Artwork, IconForPresetAndCustom) {
  PortRecord record{};
  record.mod_type = MOD_LINE7;
  record.icon_preset = 1;
  record.icon_color = 7;
  const int id = IconFor(record, {1, false});
  EXPECT_NE(id, kNoIcon);
  EXPECT_NE(id, IconFor(record, {1, true}));  // half width is a different picture
  EXPECT_EQ(IconFor(record, {3, false}), kNoIcon);
  record.icon_color = 8;
  EXPECT_EQ(IconFor(record, {1, false}), kNoIcon);
  record.icon_color = 0;
  record.mod_type = 6;
  EXPECT_EQ(IconFor(record, {1, false}), kNoIcon);
  record.icon_preset = 0;
  for (const auto& [icon_id, expected] :
       {std::pair{551, 551}, {576, 576}, {-1, kNoIcon}, {577, kNoIcon}, {550, kNoIcon}}) {
    record.icon_id = icon_id;
    EXPECT_EQ(IconFor(record, {0, true}), expected) << icon_id;
  }
}

}  // namespace
}  // namespace mav
