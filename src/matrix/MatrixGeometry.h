// Where everything of the matrix picture stands, for the three screen sizes (0 = 800 x 600,
// 1 = 1024 x 768, 2 = 1280 x 1024) and both layouts (13 columns of full-width icons, or 26 of
// half-width icons). Pure functions of plain numbers, so the painter, the slide code and the hit
// test agree on every pixel without a display. Any thread.
#pragma once

namespace mav {

inline constexpr int kScreenSizeCount = 3;
inline constexpr int kNetCount = 7;
inline constexpr int kPictureWidth = 1280;
inline constexpr int kPictureHeight = 1024;

struct Point {
  int x = 0;
  int y = 0;
};

struct Rect {  // right and bottom are exclusive
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

// The numbers of one screen size. Pitches and offsets are those of the picture; nothing here is
// scaled at run time.
struct SizeMetrics {
  Size picture;           // 800 x 600 ...
  Point header_at;        // header strip, top left
  Point bottom_panel_at;  // bottom panel, top left
  Rect matrix_area;       // filled with the background colour
  Point border_strip_at;  // right border strip
  int grid_x0_26, grid_x0_13, grid_x_end_26, grid_x_end_13;
  int grid_y0, grid_y_end;  // horizontal lines y = grid_y0 + row_pitch k while y < grid_y_end
  int row_pitch;
  int icon_top0;  // icon top of row 0
  int icon_height;
  int column_left0_26, column_left0_13;
  int column_pitch_26, column_pitch_13;  // also the spacing of the vertical grid lines
  int icon_width_26, icon_width_13;      // used for moving and for the label boxes
  int net_bar_y0;                        // net 1; each further net one row pitch lower
  int net_bar_x, linked_bar_x;
  int name_box_top0, name_box_top_net7;
  int label_box_width_26, label_box_width_13;
  int badge_right_offset_13;  // monitoring badge and lamps, 13 columns: icon left + this
  int lamp_low_offset;        // PTT and ringing lamps below the icon top
  int badge_low_offset;       // monitoring and DISCH badges below the icon top
  Rect status_text;
  Rect message_text;
  Point corner_at;
  Point overlay_at_26, overlay_at_13;
  Rect black_corner;
};

inline constexpr int kLabelBoxHeight = 15;
inline constexpr int kHoverMaxTextWidth = 400;
inline constexpr int kPermBadgeOffset = -1;  // permanent-connection badge above the icon top
inline constexpr int kCorLampOffset = 0;

// Nullptr for a size value other than 0, 1 or 2.
const SizeMetrics* MetricsFor(int screen_size);

// Layout of one paint: which size and how many columns.
struct MatrixLayout {
  int screen_size = 0;
  bool show_26_columns = false;
  int columns() const { return show_26_columns ? 26 : 13; }
};

// Row of a port's net: 0 for no net (GROUP_NONE, 0 or anything outside 1-7), else the net.
int RowOfNet(int net);

// Icon left of a port's column; 0 for any other size value.
int ColumnLeft(const MatrixLayout& layout, int port);
// Icon top of a row (0-7); 0 for any other size value.
int IconTop(int screen_size, int row);
// Icon width used for moving and for label boxes.
int IconWidth(const MatrixLayout& layout);
int IconHeight(int screen_size);
// The name box under the icon, or above it in net 7; the monitor-list box under the name box,
// or above it in net 7.
Rect NameBox(const MatrixLayout& layout, int port, int row);
Rect MonitorListBox(const MatrixLayout& layout, int port, int row);
// Top left of the bar along net n (1-7), green or in a link colour; {0, 0} for another size.
Point NetBarAt(int screen_size, int net, bool linked);

enum class BadgeSlot { Permanent, Monitoring, Disch, Cor, PttOrRing };
Point BadgeAt(const MatrixLayout& layout, int icon_left, int icon_top, BadgeSlot slot);

// The size a custom icon is scaled to in this layout (one pixel larger than the icon width and
// height the layout works with).
Size CustomIconDrawSize(const MatrixLayout& layout);

}  // namespace mav
