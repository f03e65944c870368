// Rendered frames of the matrix, probed at known pixels of the small (800 x 600) picture unless
// a test says otherwise.
#include <QRect>

#include "MatrixGuiFixture.h"

namespace mav::test {
namespace {

const QColor kWhite(255, 255, 255);
const QColor kHoverYellow(255, 255, 192);

int CountPixels(const QImage& frame, const QRect& area, bool (*match)(const QColor&)) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) count += match(frame.pixelColor(x, y));
  }
  return count;
}

bool IsWhite(const QColor& c) {
  return c == QColor(255, 255, 255);
}
bool IsBlack(const QColor& c) {
  return c == QColor(0, 0, 0);
}

using MatrixFrames = MatrixGui;

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
    int size;
    int left;  // icon left of port 5, 13 columns
    int row0_top;
    int row1_top;
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
    for (int port : {0, 1}) {
      PortRecord record = Port(port);
      record.bus_link = static_cast<std::int16_t>(l.link);
      Store(port, record);
    }
    frame = Frame();
    const QColor bar = At(frame, 300, 114);  // linked bar: y 110, 9 high, from x 49
    EXPECT_TRUE(l.colour(bar)) << "link " << l.link << ": " << bar.name().toStdString();
  }
}

TEST_F(MatrixFrames, NameBoxOfNetSevenStandsAboveItsIcon) {
  for (int port : {2, 3}) {
    AddModule({port, MOD_LINE7, 0});
    PortRecord record = Port(port);
    record.net = 7;
    Store(port, record);
  }
  for (int port : {4, 5}) {
    AddModule({port, MOD_LINE7, 1});
    PortRecord record = Port(port);
    record.net = 6;
    Store(port, record);
  }
  const QImage frame = Frame();
  ASSERT_EQ(Port(2).net, 7);
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
  PortRecord record = Port(0);
  const std::uint8_t list[] = {5, 1, 2, 3, static_cast<std::uint8_t>(PORT_NONE)};
  std::memcpy(record.monitors, list, sizeof list);
  Store(0, record);
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
  QImage frame = widget.grab().toImage();
  // 400 pixels of text plus the two border pixels, ending at the picture's edge 800.
  EXPECT_EQ(At(frame, 399, 81), kHoverYellow);
  EXPECT_EQ(At(frame, 798, 81), kHoverYellow);
  EXPECT_EQ(At(frame, 398, 81), kWhite);
  EXPECT_NE(At(frame, 397, 81), kHoverYellow);

  widget.show_hover(0);  // a short name starts one pixel left of the icon, at x 65
  frame = widget.grab().toImage();
  EXPECT_EQ(At(frame, 65, 81), kWhite);
  EXPECT_EQ(At(frame, 66, 80), kHoverYellow);
  EXPECT_NE(At(frame, 399, 81), kHoverYellow);

  widget.show_status_text("Displays module name");
  widget.hide_hover();
  frame = widget.grab().toImage();
  EXPECT_NE(At(frame, 66, 80), kHoverYellow);
  EXPECT_EQ(CountPixels(frame, QRect(66, 505, 358, 19), IsWhite), 0);
}

TEST_F(MatrixFrames, MonitorModeGreysThePortsNotMonitored) {
  for (int port : {0, 1, 2}) AddModule({port});
  PortRecord record = Port(0);
  record.monitors[0] = 1;
  record.monitors[1] = static_cast<std::uint8_t>(PORT_NONE);
  Store(0, record);
  MatrixViewState view;
  view.monitor_mode_port = 0;
  view.corner_switch = true;
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
  EXPECT_GT(CountPixels(frame, QRect(433, 504, 362, 20), IsWhite), 20);
}

TEST_F(MatrixFrames, BackgroundAndGridFollowTheColours) {
  MatrixAppearance look = widget.appearance();
  look.background_color = {10, 20, 30};
  look.grid_color = {200, 100, 50};
  for (int size : {0, 2}) {
    look.screen_size = size;
    widget.set_appearance(look);
    widget.resize(widget.sizeHint());
    const QImage frame = Frame();
    const int vertical = size == 0 ? 89 : 143;
    const int horizontal = size == 0 ? 293 : 373;  // 53 + 4 x 60, 85 + 3 x 96
    EXPECT_EQ(At(frame, vertical + 20, horizontal + 7), QColor(10, 20, 30));
    EXPECT_EQ(At(frame, vertical, horizontal + 7), QColor(200, 100, 50));
    EXPECT_EQ(At(frame, vertical + 20, horizontal), QColor(200, 100, 50));
  }
}

TEST_F(MatrixFrames, StatusLineKeepsItsTextAndMessageLineDoesNot) {
  Frame();
  widget.show_status_text("Connected");
  widget.show_message("QVB-1 was busy, try command again");
  QImage frame = widget.grab().toImage();
  const QRect status(66, 505, 358, 19);
  const QRect message(433, 504, 362, 20);
  EXPECT_GT(CountPixels(frame, status, IsWhite), 20);
  EXPECT_GT(CountPixels(frame, message, IsWhite), 20);

  frame = Frame();  // a full paint keeps the status text and removes the message
  EXPECT_GT(CountPixels(frame, status, IsWhite), 20);
  EXPECT_EQ(CountPixels(frame, message, IsWhite), 0);

  widget.show_status_text(std::string(300, 'W'));  // longer than the line: cut, not overrun
  widget.show_status_text("");
  frame = widget.grab().toImage();
  EXPECT_EQ(CountPixels(frame, status, IsBlack), status.width() * status.height());
}

TEST_F(MatrixFrames, CornerImageWhileTheSwitchIsOff) {
  QImage frame = Frame();
  const QColor red_key = At(frame, 12, 29);
  EXPECT_GT(red_key.red(), red_key.green() + 80) << red_key.name().toStdString();
  MatrixViewState view;
  view.corner_switch = true;
  widget.set_view_state(view);
  frame = Frame();
  EXPECT_TRUE(IsGreenish(At(frame, 12, 29)));
}

TEST_F(MatrixFrames, IconSlidesToItsNewRow) {
  MatrixAppearance look = widget.appearance();
  look.animation_delay = 450;
  widget.set_appearance(look);
  AddModule({3});
  AddModule({4});
  Frame();
  for (int port : {3, 4}) {
    PortRecord record = Port(port);
    record.bus = 1;
    Store(port, record);
  }
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
  frame = Frame();
  EXPECT_TRUE(IsBackground(At(frame, 514 + 4, 27 + 40)));

  clock.advance_ms(225);
  EXPECT_TRUE(slides.animation_step().slide_ended);
  frame = Frame();
  EXPECT_TRUE(IsGreenish(At(frame, 238, 127)));
  EXPECT_TRUE(IsBackground(At(frame, 238, 40)));
  EXPECT_TRUE(IsGreenish(At(frame, 514 + 4, 27 + 40)));
  EXPECT_EQ(widget.hit_test(240, 110), (MatrixHit{HIT_PORT, 3}));
}

TEST_F(MatrixFrames, WithoutAnimationTheIconJumps) {
  MatrixAppearance look = widget.appearance();
  look.animation_delay = 0;
  widget.set_appearance(look);
  AddModule({3, MOD_TOV5, 1});
  AddModule({4, MOD_TOV5, 1});
  slides.start_move(3, GROUP_NONE, 1);
  EXPECT_TRUE(IsBackground(At(Frame(), 238, 127)));  // left out until the next worker step
  EXPECT_TRUE(slides.animation_step().slide_ended);
  EXPECT_TRUE(IsGreenish(At(Frame(), 238, 127)));
}

TEST_F(MatrixFrames, BadPortDataNeverOverrunsAField) {
  PortRecord record = Port(0);
  record.mod_type = 9;  // no such module type
  record.icon_preset = 1;
  record.disch_group = 200;
  record.net = -3;
  std::memset(record.port_name, 'X', sizeof record.port_name);  // no end mark
  std::memset(record.monitors, 7, sizeof record.monitors);
  Store(0, record);
  record.mod_type = MOD_TOV5;
  record.icon_preset = 0;
  record.icon_id = 9999;
  record.icon_color = 200;
  Store(1, record);
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
