#include <QPainterPath>

#include "matrix/ui/ArtStyle.h"
#include "matrix/ui/ArtworkPainters.h"

namespace mav::art {
namespace {

// Gray, Red, Orange, Yellow, Green, Cyan, Blue, Magenta.
const QColor kPlateColors[kIconColorCount] = {
    {0x9a, 0xa3, 0xad}, {0xd6, 0x45, 0x45}, {0xe8, 0x83, 0x3a}, {0xe9, 0xc9, 0x3f},
    {0x3f, 0xae, 0x5a}, {0x35, 0xb8, 0xc9}, {0x3d, 0x6f, 0xd6}, {0xc0, 0x4f, 0xc0},
};

const char* const kModelNames[kModuleTypeCount] = {"TOV-5", "MEK-4", "LINE-7", "VOQ-3", "HK-6"};
const char* const kShortNames[kModuleTypeCount] = {"TOV", "MEK", "LINE", "VOQ", "HK"};

enum class Pictogram { Radio, Handset, Telephone };

Pictogram PictogramOf(int mod_type) {
  switch (mod_type) {
    case MOD_MEK4:
      return Pictogram::Handset;
    case MOD_LINE7:
    case MOD_HK6:
      return Pictogram::Telephone;
    default:
      return Pictogram::Radio;
  }
}

// A point of the pictogram area, given as fractions of its width and height.
QPointF Within(const QRectF& area, qreal fx, qreal fy) {
  return {area.left() + area.width() * fx, area.top() + area.height() * fy};
}

// Outline width of the pictograms: thicker on the larger icons.
qreal LineWidth(const QRectF& area) {
  return std::max<qreal>(1.0, area.width() / 28.0);
}

// A handset's bent bar with round ends, from `from` to `to` through two control points.
void StrokeCurve(QPainter& painter, const QColor& ink, qreal width, const QPointF& from,
                 const QPointF& c1, const QPointF& c2, const QPointF& to) {
  QPainterPath path;
  path.moveTo(from);
  path.cubicTo(c1, c2, to);
  painter.setPen(QPen(ink, width, Qt::SolidLine, Qt::RoundCap));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(path);
}

// The plug-in plate: rounded, lit from above, with two mounting screws.
QPainterPath DrawPlate(QPainter& painter, const QRectF& rect, const QColor& color) {
  const qreal radius = std::max<qreal>(2.5, rect.width() * 0.1);
  QPainterPath outline;
  outline.addRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
  QLinearGradient body(rect.topLeft(), rect.bottomLeft());
  body.setColorAt(0.0, color.lighter(122));
  body.setColorAt(1.0, color.darker(118));
  painter.setPen(QPen(color.darker(230), 1.0));
  painter.setBrush(body);
  painter.drawPath(outline);
  return outline;
}

void DrawRadio(QPainter& painter, const QRectF& area, const QColor& ink) {
  const qreal w = area.width();
  const qreal h = area.height();
  const QRectF body(area.left() + w * 0.12, area.top() + h * 0.34, w * 0.76, h * 0.62);
  const qreal line = LineWidth(area);
  painter.setPen(QPen(ink, line, Qt::SolidLine, Qt::RoundCap));
  // Antenna from the body's right shoulder.
  painter.drawLine(QPointF(body.right() - w * 0.14, body.top()),
                   QPointF(body.right() - w * 0.02, area.top() + h * 0.04));
  painter.setBrush(Qt::NoBrush);
  painter.drawRoundedRect(body, line * 2, line * 2);
  // Speaker grille on the left, tuning knob and display on the right.
  const qreal grille_left = body.left() + body.width() * 0.14;
  const qreal grille_right = body.left() + body.width() * 0.52;
  for (int i = 1; i <= 3; ++i) {
    const qreal y = body.top() + body.height() * (0.18 + 0.2 * i);
    painter.drawLine(QPointF(grille_left, y), QPointF(grille_right, y));
  }
  const QRectF display(body.left() + body.width() * 0.62, body.top() + body.height() * 0.2,
                       body.width() * 0.26, body.height() * 0.2);
  painter.fillRect(display, ink);
  const qreal knob = body.width() * 0.13;
  painter.setBrush(ink);
  painter.drawEllipse(QPointF(display.center().x(), body.top() + body.height() * 0.68), knob, knob);
}

void DrawHandset(QPainter& painter, const QRectF& area, const QColor& ink) {
  const qreal w = area.width();
  const qreal h = area.height();
  const qreal line = LineWidth(area);
  // The handset: a thick curved bar with ear and mouth pieces, standing on the left.
  StrokeCurve(painter, ink, w * 0.1, Within(area, 0.22, 0.12), Within(area, 0.08, 0.4),
              Within(area, 0.08, 0.62), Within(area, 0.22, 0.9));
  painter.setPen(Qt::NoPen);
  painter.setBrush(ink);
  painter.drawRoundedRect(QRectF(area.left() + w * 0.14, area.top() + h * 0.04, w * 0.2, h * 0.14),
                          line * 2, line * 2);
  painter.drawRoundedRect(QRectF(area.left() + w * 0.14, area.top() + h * 0.84, w * 0.2, h * 0.14),
                          line * 2, line * 2);
  // A keypad of three by four keys on the right.
  const QRectF pad(area.left() + w * 0.44, area.top() + h * 0.1, w * 0.46, h * 0.84);
  const qreal key_w = pad.width() / 3.0;
  const qreal key_h = pad.height() / 4.0;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 3; ++c) {
      painter.drawRoundedRect(
          QRectF(pad.left() + c * key_w + key_w * 0.14, pad.top() + r * key_h + key_h * 0.14,
                 key_w * 0.72, key_h * 0.72),
          line, line);
    }
  }
}

void DrawTelephone(QPainter& painter, const QRectF& area, const QColor& ink) {
  const qreal w = area.width();
  const qreal h = area.height();
  const qreal line = LineWidth(area);
  // Handset lying across the top.
  StrokeCurve(painter, ink, h * 0.13, Within(area, 0.12, 0.34), Within(area, 0.14, 0.02),
              Within(area, 0.86, 0.02), Within(area, 0.88, 0.34));
  // The body below it with a keypad of dots.
  QPainterPath body;
  body.moveTo(area.left() + w * 0.3, area.top() + h * 0.4);
  body.lineTo(area.left() + w * 0.7, area.top() + h * 0.4);
  body.lineTo(area.left() + w * 0.92, area.top() + h * 0.96);
  body.lineTo(area.left() + w * 0.08, area.top() + h * 0.96);
  body.closeSubpath();
  painter.setPen(QPen(ink, line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(ink);
  painter.drawPath(body);
  const QColor holes = InkFor(ink);
  painter.setPen(Qt::NoPen);
  painter.setBrush(holes);
  const qreal dot = std::max<qreal>(0.8, w * 0.045);
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      painter.drawEllipse(
          QPointF(area.left() + w * (0.34 + 0.16 * c), area.top() + h * (0.55 + 0.13 * r)), dot,
          dot);
    }
  }
}

}  // namespace

QImage ModuleIcon(int screen_size, bool half_width, int mod_type, int icon_color) {
  const Size size = ModuleIconSize(screen_size, half_width);
  QImage image = BlankImage(size.width, size.height);
  if (mod_type < 1 || mod_type > kModuleTypeCount || icon_color < 0 ||
      icon_color >= kIconColorCount) {
    return image;
  }
  QPainter painter(&image);
  Prepare(painter);
  const QColor color = kPlateColors[icon_color];
  const QColor ink = InkFor(color);
  const QRectF rect(0, 0, size.width, size.height);
  const QPainterPath outline = DrawPlate(painter, rect, color);

  if (half_width) {
    // The short name read from top to bottom, one letter under the other.
    const QString name = QString::fromLatin1(kShortNames[mod_type - 1]);
    const qreal pitch = std::min<qreal>(rect.height() * 0.84 / name.size(), rect.width() * 0.72);
    const QFont font = BoldFont(static_cast<int>(pitch * 0.92), false);
    const qreal top = (rect.height() - pitch * name.size()) / 2.0;
    for (int i = 0; i < name.size(); ++i) {
      DrawCentredText(painter, QRectF(0, top + pitch * i, rect.width(), pitch), name.mid(i, 1),
                      font, ink);
    }
    return image;
  }

  // Model name on a darker band across the top, the pictogram below.
  const qreal band = std::round(rect.height() * 0.25);
  painter.save();
  painter.setClipPath(outline);
  painter.fillRect(QRectF(0, 0, rect.width(), band), QColor(0, 0, 0, 70));
  painter.restore();
  const QString model = QString::fromLatin1(kModelNames[mod_type - 1]);
  const QFont font = FittedFont(model, size.width - 6, static_cast<int>(band * 0.78), true);
  DrawCentredText(painter, QRectF(0, 0, rect.width(), band), model, font, QColor(0xf7, 0xf9, 0xfb));

  const QRectF area(rect.width() * 0.14, band + rect.height() * 0.07, rect.width() * 0.72,
                    rect.height() - band - rect.height() * 0.14);
  switch (PictogramOf(mod_type)) {
    case Pictogram::Radio:
      DrawRadio(painter, area, ink);
      break;
    case Pictogram::Handset:
      DrawHandset(painter, area, ink);
      break;
    case Pictogram::Telephone:
      DrawTelephone(painter, area, ink);
      break;
  }
  return image;
}

QImage GreyedIcon(int screen_size, bool half_width) {
  const Size size = ArtSize(screen_size, half_width ? ArtRole::Greyed26 : ArtRole::Greyed13);
  QImage image = BlankImage(size.width, size.height);
  QPainter painter(&image);
  Prepare(painter);
  const QRectF rect(1.0, 1.0, size.width - 2.0, size.height - 2.0);
  const qreal radius = std::max<qreal>(2.5, size.width * 0.1);
  painter.setPen(QPen(QColor(0x5a, 0x63, 0x6e), 1.5));
  painter.setBrush(QColor(0x14, 0x17, 0x1c, 235));
  painter.drawRoundedRect(rect, radius, radius);
  return image;
}

}  // namespace mav::art
