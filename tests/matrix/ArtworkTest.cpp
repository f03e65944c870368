// Which artwork a port shows: presets by size, layout and colour, and the custom icon slots.
#include <gtest/gtest.h>

#include "matrix/Artwork.h"

namespace mav {
namespace {

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
