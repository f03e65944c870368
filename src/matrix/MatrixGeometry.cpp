#include "matrix/MatrixGeometry.h"

namespace mav {
namespace {

constexpr SizeMetrics kMetrics[kScreenSizeCount] = {
    {
        .picture = {800, 600},
        .header_at = {61, 0},
        .bottom_panel_at = {61, 501},
        .matrix_area = {61, 23, 800, 501},
        .border_strip_at = {796, 23},
        .grid_x0_26 = 75,
        .grid_x0_13 = 89,
        .grid_x_end_26 = 803,
        .grid_x_end_13 = 817,
        .grid_y0 = 53,
        .grid_y_end = 533,
        .row_pitch = 60,
        .icon_top0 = 27,
        .icon_height = 52,
        .column_left0_26 = 65,
        .column_left0_13 = 66,
        .column_pitch_26 = 28,
        .column_pitch_13 = 56,
        .icon_width_26 = 24,
        .icon_width_13 = 47,
        .net_bar_y0 = 110,
        .net_bar_x = 48,
        .linked_bar_x = 49,
        .name_box_top0 = 79,
        .name_box_top_net7 = 432,
        .label_box_width_26 = 25,
        .label_box_width_13 = 48,
        .badge_right_offset_13 = 23,
        .lamp_low_offset = 15,
        .badge_low_offset = 30,
        .status_text = {66, 505, 424, 524},
        .message_text = {433, 504, 795, 524},
        .corner_at = {4, 4},
        .overlay_at_26 = {4, 64},
        .overlay_at_13 = {4, 62},
        .black_corner = {4, 4, 57, 58},
    },
    {
        .picture = {1024, 768},
        .header_at = {78, 0},
        .bottom_panel_at = {78, 642},
        .matrix_area = {78, 30, 1024, 642},
        .border_strip_at = {1019, 30},
        .grid_x0_26 = 97,
        .grid_x0_13 = 114,
        .grid_x_end_26 = 1033,
        .grid_x_end_13 = 1050,
        .grid_y0 = 68,
        .grid_y_end = 684,
        .row_pitch = 77,
        .icon_top0 = 35,
        .icon_height = 67,
        .column_left0_26 = 83,
        .column_left0_13 = 84,
        .column_pitch_26 = 36,
        .column_pitch_13 = 72,
        .icon_width_26 = 31,
        .icon_width_13 = 60,
        .net_bar_y0 = 139,
        .net_bar_x = 63,
        .linked_bar_x = 62,
        .name_box_top0 = 102,
        .name_box_top_net7 = 559,
        .label_box_width_26 = 32,
        .label_box_width_13 = 61,
        .badge_right_offset_13 = 29,
        .lamp_low_offset = 19,
        .badge_low_offset = 38,
        .status_text = {83, 647, 544, 671},
        .message_text = {554, 647, 1019, 671},
        .corner_at = {5, 5},
        .overlay_at_26 = {5, 78},
        .overlay_at_13 = {5, 78},
        .black_corner = {5, 5, 73, 73},
    },
    {
        .picture = {1280, 1024},
        .header_at = {98, 0},
        .bottom_panel_at = {98, 802},
        .matrix_area = {98, 38, 1280, 802},
        .border_strip_at = {1274, 38},
        .grid_x0_26 = 122,
        .grid_x0_13 = 143,
        .grid_x_end_26 = 1266,
        .grid_x_end_13 = 1313,
        .grid_y0 = 85,
        .grid_y_end = 853,
        .row_pitch = 96,
        .icon_top0 = 43,
        .icon_height = 90,
        .column_left0_26 = 104,
        .column_left0_13 = 106,
        .column_pitch_26 = 44,
        .column_pitch_13 = 90,
        .icon_width_26 = 38,
        .icon_width_13 = 75,
        .net_bar_y0 = 176,
        .net_bar_x = 78,
        .linked_bar_x = 78,
        .name_box_top0 = 133,
        .name_box_top_net7 = 700,
        .label_box_width_26 = 39,
        .label_box_width_13 = 76,
        .badge_right_offset_13 = 37,
        .lamp_low_offset = 24,
        .badge_low_offset = 48,
        .status_text = {103, 808, 681, 838},
        .message_text = {694, 808, 1274, 838},
        .corner_at = {6, 6},
        .overlay_at_26 = {6, 96},
        .overlay_at_13 = {6, 96},
        .black_corner = {6, 6, 92, 90},
    },
};

}  // namespace

const SizeMetrics* MetricsFor(int screen_size) {
  if (screen_size < 0 || screen_size >= kScreenSizeCount) return nullptr;
  return &kMetrics[screen_size];
}

int RowOfNet(int net) {
  return net >= 1 && net <= kNetCount ? net : 0;
}

int ColumnLeft(const MatrixLayout& layout, int port) {
  const SizeMetrics* m = MetricsFor(layout.screen_size);
  if (m == nullptr) return 0;
  return layout.show_26_columns ? m->column_left0_26 + m->column_pitch_26 * port
                                : m->column_left0_13 + m->column_pitch_13 * port;
}

int IconTop(int screen_size, int row) {
  const SizeMetrics* m = MetricsFor(screen_size);
  return m == nullptr ? 0 : m->icon_top0 + m->row_pitch * row;
}

int IconWidth(const MatrixLayout& layout) {
  const SizeMetrics* m = MetricsFor(layout.screen_size);
  if (m == nullptr) return 0;
  return layout.show_26_columns ? m->icon_width_26 : m->icon_width_13;
}

int IconHeight(int screen_size) {
  const SizeMetrics* m = MetricsFor(screen_size);
  return m == nullptr ? 0 : m->icon_height;
}

Rect NameBox(const MatrixLayout& layout, int port, int row) {
  const SizeMetrics* m = MetricsFor(layout.screen_size);
  if (m == nullptr) return {};
  const int left = ColumnLeft(layout, port);
  const int top = row == kNetCount ? m->name_box_top_net7 : m->name_box_top0 + m->row_pitch * row;
  const int width = layout.show_26_columns ? m->label_box_width_26 : m->label_box_width_13;
  return {left, top, left + width, top + kLabelBoxHeight};
}

Rect MonitorListBox(const MatrixLayout& layout, int port, int row) {
  Rect box = NameBox(layout, port, row);
  const int shift = row == kNetCount ? -kLabelBoxHeight : kLabelBoxHeight;
  box.top += shift;
  box.bottom += shift;
  return box;
}

Point NetBarAt(int screen_size, int net, bool linked) {
  const SizeMetrics* m = MetricsFor(screen_size);
  if (m == nullptr) return {};
  return {linked ? m->linked_bar_x : m->net_bar_x, m->net_bar_y0 + m->row_pitch * (net - 1)};
}

Point BadgeAt(const MatrixLayout& layout, int icon_left, int icon_top, BadgeSlot slot) {
  const SizeMetrics* m = MetricsFor(layout.screen_size);
  if (m == nullptr) return {};
  const int left_x = icon_left - 1;
  // In 13 columns the monitoring badge and the lamps stand over the icon's right half.
  const int right_x = layout.show_26_columns ? left_x : icon_left + m->badge_right_offset_13;
  switch (slot) {
    case BadgeSlot::Permanent:
      return {left_x, icon_top + kPermBadgeOffset};
    case BadgeSlot::Disch:
      return {left_x, icon_top + m->badge_low_offset};
    case BadgeSlot::Monitoring:
      return {right_x, icon_top + m->badge_low_offset};
    case BadgeSlot::Cor:
      return {right_x, icon_top + kCorLampOffset};
    case BadgeSlot::PttOrRing:
      return {right_x, icon_top + m->lamp_low_offset};
  }
  return {};
}

Size CustomIconDrawSize(const MatrixLayout& layout) {
  if (MetricsFor(layout.screen_size) == nullptr) return {};
  return {IconWidth(layout) + 1, IconHeight(layout.screen_size) + 1};
}

}  // namespace mav
