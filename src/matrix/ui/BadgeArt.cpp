#include <QPainterPath>

#include "matrix/ui/ArtStyle.h"
#include "matrix/ui/ArtworkPainters.h"

namespace mav::art {
namespace {

const QColor kBarGreen{0x2e, 0xc2, 0x6a};
const QColor kBarBlue{0x3b, 0x82, 0xf6};
const QColor kBarRed{0xe5, 0x48, 0x4d};
const QColor kBarOlive{0xb5, 0xa6, 0x3a};
const QColor kLampGreen{0x22, 0xc5, 0x5e};
const QColor kLampRed{0xef, 0x44, 0x44};

// A rounded square tag with a dark rim, so it stands out on any plate colour.
void DrawTag(QPainter& painter, const QRectF& rect, const QColor& color) {
  const QRectF inner = rect.adjusted(1.0, 1.0, -1.0, -1.0);
  QLinearGradient body(inner.topLeft(), inner.bottomLeft());
  body.setColorAt(0.0, color.lighter(118));
  body.setColorAt(1.0, color.darker(115));
  painter.setPen(QPen(QColor(0x10, 0x12, 0x16, 220), 1.2));
  painter.setBrush(body);
  const qreal radius = rect.width() * 0.2;
  painter.drawRoundedRect(inner, radius, radius);
}

// A headset over the tag's letter: headband arc and two ear cups.
void DrawHeadset(QPainter& painter, const QRectF& area, const QColor& ink) {
  const qreal line = std::max<qreal>(1.2, area.width() * 0.09);
  painter.setPen(QPen(ink, line, Qt::SolidLine, Qt::RoundCap));
  painter.setBrush(Qt::NoBrush);
  const QRectF band(area.left() + area.width() * 0.2, area.top(), area.width() * 0.6,
                    area.height() * 1.6);
  painter.drawArc(band, 20 * 16, 140 * 16);
  painter.setPen(Qt::NoPen);
  painter.setBrush(ink);
  const qreal cup_w = area.width() * 0.16;
  const qreal cup_h = area.height() * 0.55;
  const qreal cup_top = area.top() + area.height() * 0.45;
  painter.drawRoundedRect(QRectF(band.left() - cup_w * 0.4, cup_top, cup_w, cup_h), 1.5, 1.5);
  painter.drawRoundedRect(QRectF(band.right() - cup_w * 0.6, cup_top, cup_w, cup_h), 1.5, 1.5);
}

QColor BarColor(ArtRole role) {
  switch (role) {
    case ArtRole::NetBarBlue:
      return kBarBlue;
    case ArtRole::NetBarRed:
      return kBarRed;
    case ArtRole::NetBarOlive:
      return kBarOlive;
    default:
      return kBarGreen;
  }
}

}  // namespace

QImage NetBar(int screen_size, ArtRole role) {
  const Size size = ArtSize(screen_size, role);
  QImage image = BlankImage(size.width, size.height);
  QPainter painter(&image);
  Prepare(painter);
  const QColor color = BarColor(role);
  const QRectF rect(0.5, 0.5, size.width - 1.0, size.height - 1.0);
  QLinearGradient body(rect.topLeft(), rect.bottomLeft());
  body.setColorAt(0.0, color.lighter(140));
  body.setColorAt(0.45, color);
  body.setColorAt(1.0, color.darker(150));
  painter.setPen(QPen(color.darker(220), 1.0));
  painter.setBrush(body);
  painter.drawRoundedRect(rect, rect.height() / 2.0, rect.height() / 2.0);
  if (role != ArtRole::NetBarGreen) {
    // Linked nets carry a chain of light links along the bar.
    painter.setPen(QPen(QColor(255, 255, 255, 110), 1.0));
    painter.setBrush(Qt::NoBrush);
    const qreal link = size.height * 1.6;
    for (qreal x = size.height * 2.0; x + link < size.width - size.height; x += link * 1.5) {
      painter.drawRoundedRect(QRectF(x, size.height * 0.3, link, size.height * 0.4),
                              size.height * 0.2, size.height * 0.2);
    }
  }
  return image;
}

QImage Badge(int screen_size, ArtRole role) {
  const Size size = ArtSize(screen_size, role);
  QImage image = BlankImage(size.width, size.height);
  QPainter painter(&image);
  Prepare(painter);
  const QRectF rect(0, 0, size.width, size.height);
  const QRectF text_area = rect.adjusted(2, 2, -2, -2);
  const int text_px = static_cast<int>(size.height * 0.5);

  if (role == ArtRole::BadgePermanent) {
    const QColor amber(0xf5, 0x9e, 0x0b);
    DrawTag(painter, rect, amber);
    DrawCentredText(painter, text_area, QStringLiteral("PC"),
                    FittedFont(QStringLiteral("PC"), size.width - 6, text_px, false),
                    InkFor(amber));
  } else if (role == ArtRole::BadgeMonitoring) {
    const QColor blue(0x25, 0x63, 0xeb);
    DrawTag(painter, rect, blue);
    const QRectF top(text_area.left(), text_area.top() + 1, text_area.width(),
                     text_area.height() * 0.38);
    DrawHeadset(painter, top, Qt::white);
    DrawCentredText(painter,
                    QRectF(text_area.left(), top.bottom(), text_area.width(),
                           text_area.bottom() - top.bottom()),
                    QStringLiteral("M"), BoldFont(static_cast<int>(size.height * 0.42), false),
                    Qt::white);
  } else if (role == ArtRole::BadgeSelect) {
    const QColor violet(0x7c, 0x3a, 0xed);
    DrawTag(painter, rect, violet);
    DrawCentredText(painter, text_area, QStringLiteral("M?"),
                    FittedFont(QStringLiteral("M?"), size.width - 6, text_px, false), Qt::white);
  } else {
    // DISCH groups 0-6: the red numbers 1-7 on a white tag.
    const int group = static_cast<int>(role) - static_cast<int>(ArtRole::BadgeDisch1);
    DrawTag(painter, rect, QColor(0xf4, 0xf6, 0xf8));
    DrawCentredText(painter, text_area, QString::number(group + 1),
                    BoldFont(static_cast<int>(size.height * 0.62), false),
                    QColor(0xdc, 0x26, 0x26));
  }
  return image;
}

QImage Lamp(int screen_size, ArtRole role) {
  const Size size = ArtSize(screen_size, role);
  QImage image = BlankImage(size.width, size.height);
  QPainter painter(&image);
  Prepare(painter);
  const bool red = role == ArtRole::LampPtt;
  const QColor color = red ? kLampRed : kLampGreen;
  const QString text = role == ArtRole::LampCor   ? QStringLiteral("COR")
                       : role == ArtRole::LampPtt ? QStringLiteral("PTT")
                                                  : QStringLiteral("RING");
  // A lit LED window: bright centre fading to the rim.
  const QRectF rect(0.5, 0.5, size.width - 1.0, size.height - 1.0);
  QRadialGradient glow(rect.center(), rect.width() * 0.7);
  glow.setColorAt(0.0, color.lighter(150));
  glow.setColorAt(0.6, color);
  glow.setColorAt(1.0, color.darker(160));
  painter.setPen(QPen(QColor(0x10, 0x12, 0x16), 1.2));
  painter.setBrush(glow);
  painter.drawRoundedRect(rect, rect.height() * 0.4, rect.height() * 0.4);
  DrawCentredText(painter, rect, text,
                  FittedFont(text, size.width - 4, static_cast<int>(size.height * 0.72), true),
                  red ? Qt::white : QColor(0x06, 0x2b, 0x14));
  return image;
}

}  // namespace mav::art
