#include "matrix/ui/MatrixPainter.h"

#include <QFontMetrics>
#include <QPen>
#include <algorithm>
#include <cstring>

#include "matrix/MonitorListText.h"
#include "matrix/ui/ArtStyle.h"
#include "matrix/ui/IconStore.h"
#include "model/DeviceModel.h"
#include "model/MonitorList.h"

namespace mav {
namespace {

// How dark the picture grows while the gateway does not answer (of 255).
constexpr int kDimAlpha = 140;
// How far a label's letters may be narrowed to fit its box.
constexpr double kNarrowestLetters = 0.6;

const QColor kLabelInk{0, 0, 0};
const QColor kMonitorListInk{0, 75, 35};
const QColor kHoverFill{255, 255, 192};

QColor ToQColor(const Rgb& c) {
  return QColor(c.red, c.green, c.blue);
}

// Weight 600: the label font and the three status fonts.
QFont TextFont(int pixel_size, bool condensed) {
  return art::SansFont(pixel_size, condensed, QFont::DemiBold);
}

// The label font: 15 pixels high with an average character width of about 5 pixels, so that the
// default module names ("LINE-7") fit the name boxes of the 26-column medium layout.
QFont LabelFont() {
  QFont font = TextFont(13, true);
  font.setStretch(62);
  return font;
}

QRect ToQRect(const Rect& r) {
  return QRect(r.left, r.top, r.width(), r.height());
}

bool HasMonitors(const PortRecord& record) {
  return MonitorEntries(record) > 0;
}

// A fixed-size text field of a record as text, never read past its end.
QString FieldText(const char* field, std::size_t size) {
  return QString::fromLatin1(field, static_cast<qsizetype>(strnlen(field, size)));
}

}  // namespace

MatrixPainter::MatrixPainter(IconStore& icons)
    : icons_(icons),
      label_font_(LabelFont()),
      status_fonts_{TextFont(16, false), TextFont(20, false), TextFont(25, false)} {}

void MatrixPainter::set_appearance(const MatrixAppearance& look) {
  look_ = look;
}

MatrixLayout MatrixPainter::Paint(QImage& picture, DeviceModel& model, const SlideFrame& slides,
                                  const MatrixViewState& view,
                                  const std::optional<QString>& status_text) {
  model.RenumberNets();
  const MatrixLayout layout{look_.screen_size, model.AnyModuleInUpperHalf()};
  const SizeMetrics* m = MetricsFor(layout.screen_size);
  if (m == nullptr) return layout;
  const Size custom = CustomIconDrawSize(layout);
  icons_.SetCustomSize(custom.height, custom.width);

  QPainter p(&picture);
  DrawFrame(p, model, layout);
  if (view.monitor_mode_port == -1) {
    DrawPorts(p, model, layout, slides);
  } else {
    DrawMonitorMode(p, model, layout, view.monitor_mode_port);
  }
  if (dimmed_) p.fillRect(ToQRect(m->matrix_area), QColor(0, 0, 0, kDimAlpha));
  if (status_text) DrawLineText(p, m->status_text, status_text);
  if (!view.corner_switch) DrawArt(p, ArtRole::Corner, m->corner_at.x, m->corner_at.y);
  if (look_.hover_descriptions && view.hover_shown) {
    DrawHoverBoxes(p, model, layout, view.hover_port);
  }
  return layout;
}

void MatrixPainter::DrawArt(QPainter& p, ArtRole role, int x, int y) const {
  icons_.Draw(RoleArtId(look_.screen_size, role), x, y, p);
}

// Panels, background, grid, net bars and the right border: everything but the ports.
void MatrixPainter::DrawFrame(QPainter& p, const DeviceModel& model,
                              const MatrixLayout& layout) const {
  const SizeMetrics& m = *MetricsFor(layout.screen_size);
  // The panels leave rows at the foot of the larger pictures; they must not keep what another
  // size drew there.
  p.fillRect(0, 0, m.picture.width, m.picture.height, Qt::black);
  DrawArt(p, ArtRole::LeftPanel, 0, 0);
  DrawArt(p, ArtRole::BottomPanel, m.bottom_panel_at.x, m.bottom_panel_at.y);
  DrawArt(p, layout.show_26_columns ? ArtRole::Header26 : ArtRole::Header13, m.header_at.x,
          m.header_at.y);

  p.fillRect(ToQRect(m.matrix_area), ToQColor(look_.background_color));
  p.setPen(ToQColor(look_.grid_color));
  const int x0 = layout.show_26_columns ? m.grid_x0_26 : m.grid_x0_13;
  const int x_end = layout.show_26_columns ? m.grid_x_end_26 : m.grid_x_end_13;
  const int pitch = layout.show_26_columns ? m.column_pitch_26 : m.column_pitch_13;
  // Lines end one pixel short of their end point, as a pen moved from one point to another draws.
  for (int x = x0; x < x_end; x += pitch) {
    p.drawLine(x, m.matrix_area.top, x, m.matrix_area.bottom - 1);
  }
  for (int y = m.grid_y0; y < m.grid_y_end; y += m.row_pitch) {
    p.drawLine(m.matrix_area.left, y, m.picture.width - 1, y);
  }

  for (int net = 1; net <= kNetCount; ++net) {
    if (model.CountInNet(net) <= 0) continue;
    const int link = model.LinkOfNet(net);
    const bool linked = link != GROUP_NONE;
    const Point at = NetBarAt(layout.screen_size, net, linked);
    DrawArt(p, linked ? LinkedBarRole(link) : ArtRole::NetBarGreen, at.x, at.y);
  }
  DrawArt(p, ArtRole::BorderStrip, m.border_strip_at.x, m.border_strip_at.y);
}

void MatrixPainter::DrawPorts(QPainter& p, const DeviceModel& model, const MatrixLayout& layout,
                              const SlideFrame& slides) const {
  for (int port = 0; port < layout.columns(); ++port) {
    if (slides.icons[static_cast<std::size_t>(port)].active) continue;
    PortRecord record{};
    if (!model.GetPort(port, record) || record.mod_type == MOD_NONE) continue;
    const int row = RowOfNet(record.net);
    const int x = ColumnLeft(layout, port);
    const int y = IconTop(layout.screen_size, row);
    icons_.Draw(IconFor(record, layout), x, y, p);
    DrawBadges(p, record, port, model, layout, x, y);
    if (!lock_owners_[static_cast<std::size_t>(port)].empty()) DrawPadlock(p, x, y);
    if (HasMonitors(record)) {
      DrawLabel(p, MonitorListBox(layout, port, row),
                QString::fromStdString(FormatMonitorList(record.monitors)), Qt::white,
                kMonitorListInk);
    }
    DrawNameBox(p, record, layout, port, row);
  }
}

void MatrixPainter::DrawBadges(QPainter& p, const PortRecord& record, int port,
                               const DeviceModel& model, const MatrixLayout& layout, int x,
                               int y) const {
  auto badge = [&](ArtRole role, BadgeSlot slot) {
    const Point at = BadgeAt(layout, x, y, slot);
    DrawArt(p, role, at.x, at.y);
  };
  const bool monitoring = model.MonitorCount(port) > 0;
  const bool disch = record.disch_group >= 0 && record.disch_group < kDischGroupCount;
  const ArtRole disch_role =
      static_cast<ArtRole>(static_cast<int>(ArtRole::BadgeDisch1) + record.disch_group);
  if (record.perm_conn) badge(ArtRole::BadgePermanent, BadgeSlot::Permanent);
  // In 26 columns the two share a place and the DISCH group wins; in 13 they stand apart.
  if (layout.show_26_columns) {
    if (monitoring) badge(ArtRole::BadgeMonitoring, BadgeSlot::Monitoring);
    if (disch) badge(disch_role, BadgeSlot::Disch);
  } else {
    if (disch) badge(disch_role, BadgeSlot::Disch);
    if (monitoring) badge(ArtRole::BadgeMonitoring, BadgeSlot::Monitoring);
  }
  if (dimmed_) return;  // the lamps' last state may be long gone
  if (record.cor_active) badge(ArtRole::LampCor, BadgeSlot::Cor);
  if (record.ptt_active) badge(ArtRole::LampPtt, BadgeSlot::PttOrRing);
  if (record.ring_active) badge(ArtRole::LampRing, BadgeSlot::PttOrRing);
}

void MatrixPainter::DrawMonitorMode(QPainter& p, const DeviceModel& model,
                                    const MatrixLayout& layout, int monitor_port) const {
  const SizeMetrics& m = *MetricsFor(layout.screen_size);
  DrawLineText(p, m.message_text, QStringLiteral("Monitor Mode"));
  const Point overlay = layout.show_26_columns ? m.overlay_at_26 : m.overlay_at_13;
  DrawArt(p, ArtRole::MonitorOverlay, overlay.x, overlay.y);
  p.fillRect(ToQRect(m.black_corner), Qt::black);

  for (int port = 0; port < layout.columns(); ++port) {
    PortRecord record{};
    if (!model.GetPort(port, record) || record.mod_type == MOD_NONE) continue;
    const int row = RowOfNet(record.net);
    const int x = ColumnLeft(layout, port);
    const int y = IconTop(layout.screen_size, row);
    const bool shown = port == monitor_port || model.IsMonitoring(monitor_port, port);
    if (shown) {
      icons_.Draw(IconFor(record, layout), x, y, p);
    } else {
      DrawArt(p, layout.show_26_columns ? ArtRole::Greyed26 : ArtRole::Greyed13, x, y);
    }
    if (port == monitor_port) {
      const Point at = BadgeAt(layout, x, y, BadgeSlot::Monitoring);
      DrawArt(p, ArtRole::BadgeSelect, at.x, at.y);
    }
    DrawNameBox(p, record, layout, port, row);
  }
}

void MatrixPainter::DrawLabel(QPainter& p, const Rect& box, const QString& text, const QColor& fill,
                              const QColor& ink) const {
  p.fillRect(ToQRect(box), fill);
  // The white border of the box is its own fill colour on white boxes; on hover boxes it frames.
  p.setPen(Qt::white);
  p.setBrush(Qt::NoBrush);
  p.drawRect(box.left, box.top, box.width() - 1, box.height() - 1);
  p.setFont(label_font_);
  p.setPen(ink);
  const QRect area(box.left + 1, box.top, box.width() - 1, box.height());
  const int advance = QFontMetrics(label_font_).horizontalAdvance(text);
  if (advance <= area.width()) {
    p.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, text);
    return;
  }
  // Narrower letters rather than a cut word ("TOV-" names no module), within legibility; what is
  // still too long is cut at the box.
  const double squeeze = std::max(static_cast<double>(area.width()) / advance, kNarrowestLetters);
  p.save();
  p.setClipRect(area);
  p.translate(area.left(), 0);
  p.scale(squeeze, 1.0);
  p.drawText(QRect(0, area.top(), advance, area.height()), Qt::AlignLeft | Qt::AlignVCenter, text);
  p.restore();
}

void MatrixPainter::DrawNameBox(QPainter& p, const PortRecord& record, const MatrixLayout& layout,
                                int port, int row) const {
  DrawLabel(p, NameBox(layout, port, row), FieldText(record.port_name, sizeof record.port_name),
            Qt::white, kLabelInk);
}

void MatrixPainter::DrawHoverBoxes(QPainter& p, const DeviceModel& model,
                                   const MatrixLayout& layout, int port) const {
  PortRecord record{};
  if (!model.GetPort(port, record)) return;
  const int row = RowOfNet(record.net);
  const int picture_width = MetricsFor(layout.screen_size)->picture.width;
  const QFontMetrics metrics(label_font_);
  auto hover_box = [&](const QString& text, int top, const QColor& ink) {
    const int w = std::min(metrics.horizontalAdvance(text), kHoverMaxTextWidth);
    Rect box{ColumnLeft(layout, port) - 1, top, 0, top + kLabelBoxHeight};
    box.right = box.left + w + 2;
    if (box.right > picture_width) {  // keep the whole box on the picture
      box.left -= box.right - picture_width;
      box.right = picture_width;
    }
    DrawLabel(p, box, text, kHoverFill, ink);
  };
  const Rect name = NameBox(layout, port, row);
  QString name_text = FieldText(record.port_name, sizeof record.port_name);
  if (const std::string& owner = lock_owners_[static_cast<std::size_t>(port)]; !owner.empty()) {
    name_text += " - locked by " + QString::fromStdString(owner);
  }
  hover_box(name_text, name.top, kLabelInk);
  if (HasMonitors(record)) {
    hover_box(QString::fromStdString(FormatMonitorList(record.monitors)),
              MonitorListBox(layout, port, row).top, kMonitorListInk);
  }
}

// A small padlock on the icon's left edge, below its module label: a shackle over a brass body.
void MatrixPainter::DrawPadlock(QPainter& p, int x, int y) const {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 2));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRect(x + 4, y + 14, 8, 9), 0, 180 * 16);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(QColor(230, 180, 40));
  p.drawRect(QRect(x + 2, y + 19, 12, 9));
  p.restore();
}

void MatrixPainter::DrawLineText(QPainter& p, const Rect& line,
                                 const std::optional<QString>& text) const {
  p.fillRect(ToQRect(line), Qt::black);
  if (!text) return;
  p.setFont(status_fonts_[look_.screen_size]);
  p.setPen(Qt::white);
  // Top-left in the field, one line, cut at its edges.
  p.drawText(ToQRect(line), Qt::AlignLeft | Qt::AlignTop, *text);
}

void MatrixPainter::DrawStatusText(QImage& picture, const std::optional<QString>& text) const {
  if (const SizeMetrics* m = MetricsFor(look_.screen_size)) {
    QPainter p(&picture);
    DrawLineText(p, m->status_text, text);
  }
}

void MatrixPainter::DrawMessage(QImage& picture, const std::optional<QString>& text) const {
  if (const SizeMetrics* m = MetricsFor(look_.screen_size)) {
    QPainter p(&picture);
    DrawLineText(p, m->message_text, text);
  }
}

void MatrixPainter::RefreshLabel(QImage& picture, const MatrixLayout& layout,
                                 const DeviceModel& model, int port) const {
  PortRecord record{};
  if (MetricsFor(layout.screen_size) == nullptr || port >= layout.columns() ||
      !model.GetPort(port, record)) {
    return;
  }
  QPainter p(&picture);
  DrawNameBox(p, record, layout, port, RowOfNet(record.net));
}

void MatrixPainter::DrawSlidingIcons(QPainter& target, const MatrixLayout& layout,
                                     const DeviceModel& model, const SlideFrame& slides) const {
  for (int port = 0; port < layout.columns(); ++port) {
    const SlideFrame::Icon& icon = slides.icons[static_cast<std::size_t>(port)];
    PortRecord record{};
    if (!icon.active || !model.GetPort(port, record) || record.mod_type == MOD_NONE) continue;
    icons_.Draw(IconFor(record, layout), ColumnLeft(layout, port), icon.y, target);
  }
}

}  // namespace mav
