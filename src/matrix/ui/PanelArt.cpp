#include "matrix/HitTest.h"
#include "matrix/MatrixGeometry.h"
#include "matrix/ui/ArtStyle.h"
#include "matrix/ui/ArtworkPainters.h"

namespace mav::art {
namespace {

const QColor kCornerGreen{0x2f, 0xa8, 0x4f};
const QColor kCornerRed{0xd9, 0x3a, 0x3a};
const QColor kNetKey{0x3d, 0x45, 0x50};
const QColor kMonitorAmber{0xf0, 0xb4, 0x29};

// The corner key over its sensitive square, with a plus or a minus.
void DrawCornerKey(QPainter& painter, const QRectF& key, const QColor& color, bool plus) {
  DrawKey(painter, key, color, key.width() * 0.16);
  const qreal arm = key.width() * 0.26;
  const QPointF c = key.center();
  painter.setPen(QPen(QColor(0xf7, 0xf9, 0xfb), std::max<qreal>(2.0, key.width() * 0.1),
                      Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(c.x() - arm, c.y()), QPointF(c.x() + arm, c.y()));
  if (plus) painter.drawLine(QPointF(c.x(), c.y() - arm), QPointF(c.x(), c.y() + arm));
}

QRectF CornerKeyRect(const HitAreas& h) {
  return QRectF(h.corner_x0, h.corner_y0, h.corner_x1 - h.corner_x0, h.corner_y1 - h.corner_y0);
}

void DrawScrew(QPainter& painter, const QPointF& centre, qreal radius) {
  QRadialGradient head(centre - QPointF(radius * 0.3, radius * 0.3), radius * 1.4);
  head.setColorAt(0.0, QColor(0x9a, 0xa2, 0xac));
  head.setColorAt(1.0, QColor(0x3a, 0x40, 0x48));
  painter.setPen(QPen(kMetalEdgeDark, 1.0));
  painter.setBrush(head);
  painter.drawEllipse(centre, radius, radius);
  painter.setPen(QPen(kMetalEdgeDark, std::max<qreal>(1.0, radius * 0.25)));
  painter.drawLine(centre - QPointF(radius * 0.6, 0), centre + QPointF(radius * 0.6, 0));
}

}  // namespace

QImage LeftPanel(int screen_size) {
  const Size size = ArtSize(screen_size, ArtRole::LeftPanel);
  const HitAreas* h = HitAreasFor(screen_size);
  QImage image = BlankImage(size.width, size.height);
  if (h == nullptr) return image;
  QPainter painter(&image);
  Prepare(painter);
  FillMetal(painter, QRectF(0, 0, size.width, size.height));
  painter.setPen(QPen(kMetalEdgeLight, 1.0));
  painter.drawLine(QPointF(0.5, 0), QPointF(0.5, size.height));
  painter.setPen(QPen(kMetalEdgeDark, 1.0));
  painter.drawLine(QPointF(size.width - 0.5, 0), QPointF(size.width - 0.5, size.height));

  DrawCornerKey(painter, CornerKeyRect(*h), kCornerGreen, true);

  // NET between the corner key and the first net key.
  const qreal net_top = h->corner_y1 + 2.0;
  const qreal net_height = h->button_b - net_top - 2.0;
  const QFont net_font =
      BoldFont(static_cast<int>(std::min(net_height * 0.55, size.width * 0.3)), false);
  DrawCentredText(painter, QRectF(0, net_top, size.width, net_height), QStringLiteral("NET"),
                  net_font, kEngravingDim);

  // One key per net, level with its row; the net's bar leaves from the key's right edge.
  for (int row = 0; row < kNetCount; ++row) {
    const QRectF key(h->button_a, h->button_b + row * h->button_pitch, h->left_band_x - h->button_a,
                     h->button_h + 1);
    DrawKey(painter, key, kNetKey, key.width() * 0.18);
    DrawCentredText(painter, key, QString::number(row + 1),
                    BoldFont(static_cast<int>(key.height() * 0.48), false), kEngraving);
  }
  const qreal screw = size.width * 0.09;
  DrawScrew(painter, QPointF(size.width / 2.0, size.height - screw * 3.0), screw);
  return image;
}

QImage CornerSwitch(const QImage& left_panel, int screen_size) {
  const SizeMetrics* m = MetricsFor(screen_size);
  const HitAreas* h = HitAreasFor(screen_size);
  const Size size = ArtSize(screen_size, ArtRole::Corner);
  if (m == nullptr || h == nullptr) return BlankImage(size.width, size.height);
  QImage image = left_panel.copy(m->corner_at.x, m->corner_at.y, size.width, size.height);
  QPainter painter(&image);
  Prepare(painter);
  painter.translate(-m->corner_at.x, -m->corner_at.y);
  DrawCornerKey(painter, CornerKeyRect(*h), kCornerRed, false);
  return image;
}

QImage MonitorOverlay(int screen_size) {
  const SizeMetrics* m = MetricsFor(screen_size);
  const Size size = ArtSize(screen_size, ArtRole::MonitorOverlay);
  if (m == nullptr) return BlankImage(size.width, size.height);
  QImage image = BlankImage(size.width, size.height);
  QPainter painter(&image);
  Prepare(painter);
  FillMetal(painter, QRectF(0, 0, size.width, size.height));
  const QRectF frame(3.5, 3.5, size.width - 7.0, size.height - 7.0);
  painter.setPen(QPen(kMonitorAmber, std::max<qreal>(1.5, size.width / 30.0)));
  painter.setBrush(QColor(0x1a, 0x1d, 0x22));
  painter.drawRoundedRect(frame, 5, 5);

  // Written bottom to top along the panel, as on a rack ear.
  const QString title = QStringLiteral("MONITOR MODE");
  const QFont font = FittedFont(title, static_cast<int>(frame.height() * 0.62),
                                static_cast<int>(frame.width() * 0.42), false);
  painter.save();
  painter.translate(frame.center().x(), frame.top() + frame.height() * 0.42);
  painter.rotate(-90);
  DrawCentredText(
      painter,
      QRectF(-frame.height() * 0.4, -frame.width() / 2, frame.height() * 0.8, frame.width()), title,
      font, kMonitorAmber);
  painter.restore();

  // A key at the foot that ends monitor mode.
  const qreal key_h = frame.width() * 0.62;
  const QRectF key(frame.left() + frame.width() * 0.14,
                   frame.bottom() - key_h - frame.width() * 0.16, frame.width() * 0.72, key_h);
  DrawKey(painter, key, QColor(0x4a, 0x52, 0x5e), key.width() * 0.16);
  DrawCentredText(painter, key, QStringLiteral("DONE"),
                  FittedFont(QStringLiteral("DONE"), static_cast<int>(key.width() * 0.8),
                             static_cast<int>(key.height() * 0.45), true),
                  kEngraving);
  return image;
}

QImage HeaderStrip(int screen_size, bool show_26_columns) {
  const SizeMetrics* m = MetricsFor(screen_size);
  const HitAreas* h = HitAreasFor(screen_size);
  const Size size = ArtSize(screen_size, show_26_columns ? ArtRole::Header26 : ArtRole::Header13);
  QImage image = BlankImage(size.width, size.height);
  if (m == nullptr || h == nullptr) return image;
  QPainter painter(&image);
  Prepare(painter);
  FillMetal(painter, QRectF(0, 0, size.width, size.height));
  painter.setPen(QPen(kMetalEdgeDark, 1.0));
  painter.drawLine(QPointF(0, size.height - 0.5), QPointF(size.width, size.height - 0.5));

  // A small engraved plate with the port number over each column's sensitive cell.
  const MatrixLayout layout{screen_size, show_26_columns};
  const int a = show_26_columns ? h->header_a_26 : h->header_a_13;
  const int pitch = show_26_columns ? h->header_pitch_26 : h->header_pitch_13;
  const int w = show_26_columns ? h->header_w_26 : h->header_w_13;
  const QFont font = BoldFont(static_cast<int>(size.height * 0.56), true);
  for (int column = 0; column < layout.columns(); ++column) {
    const QRectF plate(a + column * pitch - m->header_at.x, 2.5, w + 1, h->header_band - 4.0);
    painter.setPen(QPen(QColor(0x14, 0x17, 0x1b), 1.0));
    painter.setBrush(QColor(0x1c, 0x20, 0x26));
    painter.drawRoundedRect(plate, 3, 3);
    DrawCentredText(painter, plate, QString::number(column), font, kEngraving);
  }
  return image;
}

QImage BottomPanel(int screen_size) {
  const SizeMetrics* m = MetricsFor(screen_size);
  const Size size = ArtSize(screen_size, ArtRole::BottomPanel);
  QImage image = BlankImage(size.width, size.height);
  if (m == nullptr) return image;
  QPainter painter(&image);
  Prepare(painter);
  FillMetal(painter, QRectF(0, 0, size.width, size.height));
  painter.setPen(QPen(kMetalEdgeLight, 1.0));
  painter.drawLine(QPointF(0, 0.5), QPointF(size.width, 0.5));

  // The status and message windows: black, sunk into the panel.
  const QPointF origin(m->bottom_panel_at.x, m->bottom_panel_at.y);
  for (const Rect& field : {m->status_text, m->message_text}) {
    const QRectF r(field.left - origin.x(), field.top - origin.y(), field.width(), field.height());
    DrawRecess(painter, r.adjusted(-2, -2, 2, 2));
    painter.fillRect(r, Qt::black);
  }

  // The maker's plate under the message window.
  const QRectF message(m->message_text.left - origin.x(), m->message_text.top - origin.y(),
                       m->message_text.width(), m->message_text.height());
  const qreal room = size.height - message.bottom() - 6.0;
  if (room > 14) {
    const QRectF label(message.left(), message.bottom() + 6.0, message.width(),
                       std::min<qreal>(room - 4.0, m->message_text.height()));
    DrawCentredText(painter, label, QStringLiteral("MAV-7700  AUDIO INTERCONNECT"),
                    FittedFont(QStringLiteral("MAV-7700  AUDIO INTERCONNECT"),
                               static_cast<int>(label.width() * 0.7),
                               static_cast<int>(label.height() * 0.6), false),
                    kEngravingDim);
  }
  return image;
}

QImage BorderStrip(int screen_size) {
  const Size size = ArtSize(screen_size, ArtRole::BorderStrip);
  QImage image = BlankImage(size.width, size.height);
  QPainter painter(&image);
  FillMetal(painter, QRectF(0, 0, size.width, size.height));
  painter.setPen(kMetalEdgeDark);
  painter.drawLine(0, 0, 0, size.height);
  painter.setPen(kMetalEdgeLight);
  painter.drawLine(1, 0, 1, size.height);
  return image;
}

}  // namespace mav::art
