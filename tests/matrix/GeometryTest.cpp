// Where icons, boxes, bars and badges stand, in every size and layout.
#include <gtest/gtest.h>

#include <utility>

#include "matrix/Artwork.h"
#include "matrix/MatrixGeometry.h"

namespace mav {
namespace {

TEST(Geometry, RowsAndNetBarsOfEverySize) {
  const struct {
    int size, top_row0, top_net7, height;
    int bar_x, bar_y_net1, linked_x, linked_y_net7;
  } sizes[] = {{0, 27, 447, 52, 48, 110, 49, 470},
               {1, 35, 574, 67, 63, 139, 62, 601},
               {2, 43, 715, 90, 78, 176, 78, 752}};
  for (const auto& s : sizes) {
    SCOPED_TRACE(s.size);
    // No net, and a damaged net number, stand in row 0.
    for (int net : {int{GROUP_NONE}, 0, 8}) EXPECT_EQ(IconTop(s.size, RowOfNet(net)), s.top_row0);
    EXPECT_EQ(IconTop(s.size, RowOfNet(7)), s.top_net7);
    EXPECT_EQ(IconHeight(s.size), s.height);
    EXPECT_EQ(NetBarAt(s.size, 1, false).x, s.bar_x);
    EXPECT_EQ(NetBarAt(s.size, 1, false).y, s.bar_y_net1);
    EXPECT_EQ(NetBarAt(s.size, 7, true).x, s.linked_x);
    EXPECT_EQ(NetBarAt(s.size, 7, true).y, s.linked_y_net7);
  }
  EXPECT_EQ(IconTop(0, RowOfNet(1)), 87);
  EXPECT_EQ(IconTop(2, RowOfNet(3)), 331);
}

// Columns, and the name and monitor-list boxes: under the icon of port 1 in net 2, and above
// the icon of port 0 in net 7 (the list above the name).
TEST(Geometry, ColumnsAndLabelBoxesOfEveryLayout) {
  const struct {
    MatrixLayout layout;
    int last_port, left_first, left_last;
    Rect name_net2, list_net2, name_net7, list_net7;
    Size custom_icon;  // one pixel larger than the icon cell
  } layouts[] = {
      // clang-format off
      {{0, true}, 25, 65, 765, {93, 199, 118, 214}, {93, 214, 118, 229},
       {65, 432, 90, 447}, {65, 417, 90, 432}, {25, 53}},
      {{0, false}, 12, 66, 738, {122, 199, 170, 214}, {122, 214, 170, 229},
       {66, 432, 114, 447}, {66, 417, 114, 432}, {48, 53}},
      {{1, true}, 25, 83, 983, {119, 256, 151, 271}, {119, 271, 151, 286},
       {83, 559, 115, 574}, {83, 544, 115, 559}, {32, 68}},
      {{1, false}, 12, 84, 948, {156, 256, 217, 271}, {156, 271, 217, 286},
       {84, 559, 145, 574}, {84, 544, 145, 559}, {61, 68}},
      {{2, true}, 25, 104, 1204, {148, 325, 187, 340}, {148, 340, 187, 355},
       {104, 700, 143, 715}, {104, 685, 143, 700}, {39, 91}},
      {{2, false}, 12, 106, 1186, {196, 325, 272, 340}, {196, 340, 272, 355},
       {106, 700, 182, 715}, {106, 685, 182, 700}, {76, 91}},
      // clang-format on
  };
  for (const auto& l : layouts) {
    SCOPED_TRACE(testing::Message() << l.layout.screen_size << " " << l.layout.columns());
    EXPECT_EQ(ColumnLeft(l.layout, 0), l.left_first);
    EXPECT_EQ(ColumnLeft(l.layout, l.last_port), l.left_last);
    EXPECT_EQ(NameBox(l.layout, 1, RowOfNet(2)), l.name_net2);
    EXPECT_EQ(MonitorListBox(l.layout, 1, RowOfNet(2)), l.list_net2);
    EXPECT_EQ(NameBox(l.layout, 0, RowOfNet(7)), l.name_net7);
    EXPECT_EQ(MonitorListBox(l.layout, 0, RowOfNet(7)), l.list_net7);
    EXPECT_EQ(CustomIconDrawSize(l.layout), l.custom_icon);
  }
  EXPECT_EQ(ColumnLeft({3, false}, 4), 0);  // no such screen size
  EXPECT_EQ(ColumnLeft({-1, true}, 4), 0);
}

TEST(Geometry, BadgePlaces) {
  // Offsets below the icon top of the PTT and ringing lamps and of the monitoring and DISCH
  // badges, and the monitoring badge's and lamps' offset right of the icon left in 13 columns.
  const struct {
    int size, low_lamp, low_badge, right_13;
  } sizes[] = {{0, 15, 30, 23}, {1, 19, 38, 29}, {2, 24, 48, 37}};
  for (const auto& s : sizes) {
    for (bool wide : {false, true}) {
      SCOPED_TRACE(testing::Message() << s.size << (wide ? " wide" : " narrow"));
      const auto at = [&](BadgeSlot slot) {
        const Point p = BadgeAt({s.size, wide}, 100, 200, slot);
        return std::pair{p.x, p.y};
      };
      // In 26 columns everything stands at icon left - 1; in 13 columns only the permanent
      // and DISCH badges do, the rest goes over the icon's right half.
      const int right = wide ? 99 : 100 + s.right_13;
      EXPECT_EQ(at(BadgeSlot::Permanent), std::pair(99, 199));
      EXPECT_EQ(at(BadgeSlot::Disch), std::pair(99, 200 + s.low_badge));
      EXPECT_EQ(at(BadgeSlot::Monitoring), std::pair(right, 200 + s.low_badge));
      EXPECT_EQ(at(BadgeSlot::Cor), std::pair(right, 200));
      EXPECT_EQ(at(BadgeSlot::PttOrRing), std::pair(right, 200 + s.low_lamp));
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
  record.icon_color = 8;
  EXPECT_EQ(IconFor(record, {1, false}), kNoIcon);
  record.icon_color = 0;
  record.mod_type = 6;
  EXPECT_EQ(IconFor(record, {1, false}), kNoIcon);
  record.mod_type = MOD_TOV5;
  EXPECT_EQ(IconFor(record, {3, false}), kNoIcon);

  record.icon_preset = 0;
  for (const auto& [icon_id, expected] : {std::pair{551, 551},
                                          {576, 576},
                                          {-1, kNoIcon},
                                          {577, kNoIcon},
                                          {550, kNoIcon},
                                          {5, kNoIcon}}) {
    record.icon_id = icon_id;
    EXPECT_EQ(IconFor(record, {0, true}), expected) << icon_id;
  }
}

}  // namespace
}  // namespace mav
