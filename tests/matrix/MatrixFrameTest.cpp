// Rendered frames of the matrix, probed at known pixels of the small (800 x 600) picture unless
// a test says otherwise.
#include <QRect>

#include "MatrixGuiFixture.h"

namespace mav::test {
namespace {

const QColor kWhite(255, 255, 255);
const QColor kHoverYellow(255, 255, 192);
const QRect kStatusLine(66, 505, 358, 19);
const QRect kMessageLine(433, 504, 362, 20);

int CountPixels(const QImage& frame, const QRect& area, bool (*match)(const QColor&)) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) count += match(frame.pixelColor(x, y));
  }
  return count;
}
bool IsWhite(const QColor& c) {
  return c == kWhite;
}

class MatrixFrames : public MatrixGui {
 protected:
  void SetDelay(int ms) {
    MatrixAppearance look = widget.appearance();
    look.animation_delay = ms;
    widget.set_appearance(look);
  }
};

TEST_F(MatrixFrames, ThirteenColumnsUntilAModuleSitsInPortThirteen) {
  AddModule({0});
  AddModule({12});
  QImage frame = Frame();
  EXPECT_FALSE(widget.layout().show_26_columns);
  EXPECT_FALSE(IsBackground(At(frame, 66 + 24, 47)));   // port 0, full width from x 66
  EXPECT_FALSE(IsBackground(At(frame, 738 + 24, 47)));  // port 12 at 66 + 12 x 56
  EXPECT_TRUE(IsBackground(At(frame, 441, 47)));

  AddModule({13});
  frame = Frame();
  EXPECT_TRUE(widget.layout().show_26_columns);
  EXPECT_FALSE(IsBackground(At(frame, 429 + 12, 47)));  // port 13 at 65 + 13 x 28
  EXPECT_FALSE(IsBackground(At(frame, 77, 47)));        // port 0, half width from x 65
  EXPECT_TRUE(IsBackground(At(frame, 100, 47)));        // where the wide icon of port 0 was
}

TEST_F(MatrixFrames, IconsStandInTheirColumnAndRowInEverySize) {
  AddModule({5, MOD_MEK4, 2});
  AddModule({9, MOD_MEK4, 2});  // ports 5 and 9 share a bus: net 1
  const struct {
    int size, left, row0_top, row1_top;  // left: icon of port 5 in 13 columns
  } sizes[] = {{0, 346, 27, 87}, {1, 444, 35, 112}, {2, 556, 43, 139}};
  for (const auto& s : sizes) {
    SCOPED_TRACE(s.size);
    UseSize(s.size);
    const QImage frame = Frame();
    EXPECT_FALSE(IsBackground(At(frame, s.left + 10, s.row1_top + 20)));
    EXPECT_TRUE(IsBackground(At(frame, s.left + 10, s.row0_top + 20)));
  }
}

TEST_F(MatrixFrames, NetBarGreenOrInTheColourOfItsLink) {
  AddModule({0, MOD_TOV5, 3});
  AddModule({1, MOD_HK6, 3});
  QImage frame = Frame();
  EXPECT_TRUE(IsGreenish(At(frame, 300, 113)));  // net 1 bar: y 110, 7 high, from x 48
  EXPECT_TRUE(IsGreenish(At(frame, 52, 113)));
  EXPECT_TRUE(IsBackground(At(frame, 300, 170)));  // no bar along the empty net 2

  const struct {
    int link;
    bool (*colour)(const QColor&);
  } links[] = {
      {0, [](const QColor& c) { return c.blue() > 180 && c.blue() > c.red() + 80; }},
      {1, [](const QColor& c) { return c.red() > 180 && c.red() > c.green() + 80; }},
      {2, [](const QColor& c) { return c.red() > 130 && c.green() > 120 && c.blue() < 90; }},
  };
  for (const auto& l : links) {
    for (int port : {0, 1})
      Change(port, [&](PortRecord& r) { r.bus_link = static_cast<std::int16_t>(l.link); });
    const QColor bar = At(Frame(), 300, 114);  // linked bar: y 110, 9 high, from x 49
    EXPECT_TRUE(l.colour(bar)) << "link " << l.link << ": " << bar.name().toStdString();
  }
}

TEST_F(MatrixFrames, NameBoxOfNetSevenStandsAboveItsIcon) {
  for (int port : {2, 3, 4, 5}) {
    AddModule({port, MOD_LINE7, port < 4 ? 0 : 1});
    Change(port, [&](PortRecord& r) { r.net = port < 4 ? 7 : 6; });
  }
  const QImage frame = Frame();
  // Port 2 (x 178): name box 432-446, icon from 447.
  EXPECT_EQ(At(frame, 208, 433), kWhite);
  EXPECT_TRUE(IsGreenish(At(frame, 182, 487)));
  // Port 4 in net 6 (x 290): icon 387-438, name box under it from 439.
  EXPECT_EQ(At(frame, 320, 441), kWhite);
  EXPECT_TRUE(IsGreenish(At(frame, 294, 427)));
}

TEST_F(MatrixFrames, MonitorListUnderTheNameAndBadgeOnTheIcon) {
  AddModule({0, MOD_VOQ3});
  for (int port : {1, 2, 3, 5}) AddModule({port});
  SetMonitors(0, {5, 1, 2, 3});
  const QImage frame = Frame();
  // The box at 94-108 under the name box, white with dark green text (0, 75, 35).
  EXPECT_EQ(At(frame, 112, 95), kWhite);
  const int text = CountPixels(frame, QRect(66, 94, 48, 15), [](const QColor& c) {
    return c.green() < 140 && c.green() > c.red() + 25 && c.green() > c.blue() + 10;
  });
  EXPECT_GT(text, 8);
  // The monitoring badge stands over the icon's right half: x 89, y 57 in 13 columns.
  const QColor badge = At(frame, 89 + 3, 57 + 12);
  EXPECT_GT(badge.blue(), badge.red() + 60) << badge.name().toStdString();
}

TEST_F(MatrixFrames, HoverBoxMovesLeftAtTheRightEdgeAndIsCutAt400) {
  AddModule({0, MOD_TOV5, GROUP_NONE, "A"});
  AddModule({12, MOD_TOV5, GROUP_NONE, std::string(200, '.').c_str()});
  widget.show_hover(12);
  QImage frame = Shown();
  // 400 pixels of text plus the two border pixels, ending at the picture's edge 800.
  EXPECT_EQ(At(frame, 399, 81), kHoverYellow);
  EXPECT_EQ(At(frame, 798, 81), kHoverYellow);
  EXPECT_EQ(At(frame, 398, 81), kWhite);
  EXPECT_NE(At(frame, 397, 81), kHoverYellow);

  widget.show_hover(0);  // a short name starts one pixel left of the icon, at x 65
  frame = Shown();
  EXPECT_EQ(At(frame, 65, 81), kWhite);
  EXPECT_EQ(At(frame, 66, 80), kHoverYellow);
  EXPECT_NE(At(frame, 399, 81), kHoverYellow);

  widget.show_status_text("Displays module name");
  widget.hide_hover();
  frame = Shown();
  EXPECT_NE(At(frame, 66, 80), kHoverYellow);
  EXPECT_EQ(CountPixels(frame, kStatusLine, IsWhite), 0);
}

TEST_F(MatrixFrames, CornerSwitchAndMonitorModeGreyingThePortsNotMonitored) {
  for (int port : {0, 1, 2}) AddModule({port});
  SetMonitors(0, {1});
  const QColor red_key = At(Frame(), 12, 29);  // the corner image while the switch is off
  EXPECT_GT(red_key.red(), red_key.green() + 80) << red_key.name().toStdString();
  MatrixViewState view;
  view.corner_switch = true;
  widget.set_view_state(view);
  EXPECT_TRUE(IsGreenish(At(Frame(), 12, 29)));

  view.monitor_mode_port = 0;
  widget.set_view_state(view);
  const QImage frame = Frame();
  const QColor greyed = At(frame, 178 + 6, 27 + 40);  // port 2
  EXPECT_LT(std::max({greyed.red(), greyed.green(), greyed.blue()}), 50)
      << greyed.name().toStdString();
  EXPECT_TRUE(IsGreenish(At(frame, 122 + 4, 27 + 40)));  // port 1, monitored by port 0
  EXPECT_TRUE(IsGreenish(At(frame, 66 + 4, 27 + 40)));   // port 0 itself
  // The selection badge at the monitoring place of port 0, the black corner, "Monitor Mode".
  const QColor select = At(frame, 89 + 13, 57 + 3);
  EXPECT_GT(select.blue(), select.green() + 80) << select.name().toStdString();
  EXPECT_EQ(At(frame, 30, 30), QColor(0, 0, 0));
  EXPECT_GT(CountPixels(frame, kMessageLine, IsWhite), 20);
}

TEST_F(MatrixFrames, BackgroundAndGridFollowTheColours) {
  MatrixAppearance look = widget.appearance();
  look.background_color = {10, 20, 30};
  look.grid_color = {200, 100, 50};
  // A vertical and a horizontal grid line: 53 + 4 x 60 small, 85 + 3 x 96 large.
  for (const auto& [size, vertical, horizontal] : {std::tuple{0, 89, 293}, {2, 143, 373}}) {
    look.screen_size = size;
    widget.set_appearance(look);
    widget.resize(widget.sizeHint());
    const QImage frame = Frame();
    EXPECT_EQ(At(frame, vertical + 20, horizontal + 7), QColor(10, 20, 30));
    EXPECT_EQ(At(frame, vertical, horizontal + 7), QColor(200, 100, 50));
    EXPECT_EQ(At(frame, vertical + 20, horizontal), QColor(200, 100, 50));
  }
}

TEST_F(MatrixFrames, StatusLineKeepsItsTextAndMessageLineDoesNot) {
  Frame();
  widget.show_status_text("Connected");
  widget.show_message("QVB-1 was busy, try command again");
  QImage frame = Shown();
  EXPECT_GT(CountPixels(frame, kStatusLine, IsWhite), 20);
  EXPECT_GT(CountPixels(frame, kMessageLine, IsWhite), 20);

  frame = Frame();  // a full paint keeps the status text and removes the message
  EXPECT_GT(CountPixels(frame, kStatusLine, IsWhite), 20);
  EXPECT_EQ(CountPixels(frame, kMessageLine, IsWhite), 0);

  widget.show_status_text(std::string(300, 'W'));  // longer than the line: cut, not overrun
  widget.show_status_text("");
  const int black =
      CountPixels(Shown(), kStatusLine, [](const QColor& c) { return c == Qt::black; });
  EXPECT_EQ(black, kStatusLine.width() * kStatusLine.height());
}

TEST_F(MatrixFrames, DefaultModuleNamesFitTheMediumAndLargeBoxesOfTwentySixColumns) {
  const char* names[] = {"TOV-5", "LINE-7", "MEK-4", "VOQ-3"};
  for (int port = 0; port < 4; ++port) AddModule({port, MOD_TOV5, GROUP_NONE, names[port]});
  AddModule({13});
  for (int size : {1, 2}) {
    UseSize(size);
    const QImage frame = Frame();
    for (int port = 0; port < 4; ++port) {
      SCOPED_TRACE(testing::Message() << "size " << size << ", " << names[port]);
      const Rect box = NameBox(widget.layout(), port, 0);
      // A name that fits leaves the box's last column white; a cut one inks it.
      for (int y = box.top; y < box.bottom; ++y) EXPECT_EQ(At(frame, box.right - 1, y), kWhite);
    }
  }
}

TEST_F(MatrixFrames, RowsBelowTheBottomPanelKeepNothingOfALargerSize) {
  UseSize(2);
  Frame();
  for (const auto& [size, first_row, last_row] : {std::tuple{1, 727, 767}, {2, 983, 1023}}) {
    SCOPED_TRACE(size);
    UseSize(size);
    QImage frame = Frame();
    for (int y : {first_row, last_row}) EXPECT_EQ(At(frame, 500, y), QColor(Qt::black));
  }
}

TEST_F(MatrixFrames, IconSlidesToItsNewRow) {
  SetDelay(450);
  AddModule({3});
  AddModule({4});
  Frame();
  for (int port : {3, 4}) Change(port, [](PortRecord& r) { r.bus = 1; });
  // Port 3 (x 234) moves from row 0 (y 27) to net 1 (y 87).
  EXPECT_TRUE(slides.start_move(3, GROUP_NONE, 1).frame_due);
  clock.advance_ms(225);
  slides.animation_step();
  widget.slide_frame();
  QImage frame = Frame();
  EXPECT_TRUE(IsGreenish(At(frame, 238, 57 + 40)));  // halfway: y 57
  EXPECT_TRUE(IsBackground(At(frame, 238, 40)));
  EXPECT_TRUE(IsBackground(At(frame, 238, 127)));
  EXPECT_EQ(widget.hit_test(240, 110).kind, HIT_NONE);  // no hit on a sliding icon

  // While it slides, repaint requests are ignored: a new module does not show yet.
  AddModule({8});
  EXPECT_TRUE(IsBackground(At(Frame(), 514 + 4, 27 + 40)));

  clock.advance_ms(225);
  EXPECT_TRUE(slides.animation_step().slide_ended);
  frame = Frame();
  EXPECT_TRUE(IsGreenish(At(frame, 238, 127)));
  EXPECT_TRUE(IsBackground(At(frame, 238, 40)));
  EXPECT_TRUE(IsGreenish(At(frame, 514 + 4, 27 + 40)));
  EXPECT_EQ(widget.hit_test(240, 110), (MatrixHit{HIT_PORT, 3}));
}

TEST_F(MatrixFrames, WithoutAnimationTheIconJumps) {
  SetDelay(0);
  AddModule({3, MOD_TOV5, 1});
  AddModule({4, MOD_TOV5, 1});
  slides.start_move(3, GROUP_NONE, 1);
  EXPECT_TRUE(IsBackground(At(Frame(), 238, 127)));  // left out until the next worker step
  EXPECT_TRUE(slides.animation_step().slide_ended);
  EXPECT_TRUE(IsGreenish(At(Frame(), 238, 127)));
}

TEST_F(MatrixFrames, BadPortDataNeverOverrunsAField) {
  for (int port : {0, 1}) {
    Change(port, [&](PortRecord& r) {
      r.mod_type = port == 0 ? 9u : std::uint32_t{MOD_TOV5};  // 9: no such module type
      r.icon_preset = port == 0 ? 1 : 0;  // port 1: a custom icon that was never loaded
      r.icon_id = 9999;
      r.icon_color = 200;
      r.disch_group = 200;
      r.net = -3;
      std::memset(r.port_name, 'X', sizeof r.port_name);  // no end mark
      std::memset(r.monitors, 7, sizeof r.monitors);
    });
  }
  MatrixViewState view;
  view.hover_shown = true;
  view.hover_port = 1;
  widget.set_view_state(view);
  for (int size : {0, 1, 2, 7}) {
    UseSize(size);
    Frame();
    widget.show_hover(-4);
    widget.show_hover(40);
  }
}

}  // namespace
}  // namespace mav::test
