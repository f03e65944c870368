#include "matrix/ui/ArtStyle.h"

#include <QFontMetricsF>
#include <QLinearGradient>

namespace mav::art {

QImage BlankImage(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

void Prepare(QPainter& painter) {
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
}

void FillMetal(QPainter& painter, const QRectF& rect) {
  QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
  gradient.setColorAt(0.0, kMetalTop);
  gradient.setColorAt(1.0, kMetalBottom);
  painter.fillRect(rect, gradient);
}

void DrawKey(QPainter& painter, const QRectF& rect, const QColor& body, qreal radius) {
  const QRectF inner = rect.adjusted(0.5, 0.5, -0.5, -0.5);
  QLinearGradient gradient(inner.topLeft(), inner.bottomLeft());
  gradient.setColorAt(0.0, body.lighter(135));
  gradient.setColorAt(0.5, body);
  gradient.setColorAt(1.0, body.darker(135));
  painter.setPen(QPen(body.darker(260), 1.0));
  painter.setBrush(gradient);
  painter.drawRoundedRect(inner, radius, radius);
  // Highlight along the upper edge.
  painter.setPen(QPen(QColor(255, 255, 255, 70), 1.0));
  painter.setBrush(Qt::NoBrush);
  const QRectF gloss = inner.adjusted(1.0, 1.0, -1.0, -1.0);
  painter.drawLine(QPointF(gloss.left() + radius * 0.6, gloss.top()),
                   QPointF(gloss.right() - radius * 0.6, gloss.top()));
}

void DrawRecess(QPainter& painter, const QRectF& rect) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(kMetalEdgeDark);
  painter.drawRect(rect);
  painter.setPen(QPen(kMetalEdgeLight, 1.0));
  painter.drawLine(QPointF(rect.left(), rect.bottom() - 0.5),
                   QPointF(rect.right(), rect.bottom() - 0.5));
  painter.drawLine(QPointF(rect.right() - 0.5, rect.top()),
                   QPointF(rect.right() - 0.5, rect.bottom()));
}

QFont SansFont(int pixel_size, bool condensed, QFont::Weight weight) {
  QFont font(condensed ? QStringLiteral("DejaVu Sans Condensed") : QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixel_size < 1 ? 1 : pixel_size);
  font.setWeight(weight);
  return font;
}

QFont BoldFont(int pixel_size, bool condensed) {
  return SansFont(pixel_size, condensed, QFont::Bold);
}

QFont FittedFont(const QString& text, int max_width, int max_pixel_size, bool condensed) {
  for (int size = max_pixel_size; size > 5; --size) {
    QFont font = BoldFont(size, condensed);
    if (QFontMetricsF(font).horizontalAdvance(text) <= max_width) return font;
  }
  return BoldFont(5, condensed);
}

void DrawCentredText(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font,
                     const QColor& color) {
  painter.setFont(font);
  const bool light = color.lightness() > 128;
  painter.setPen(light ? QColor(0, 0, 0, 90) : QColor(255, 255, 255, 60));
  painter.drawText(rect.translated(0.0, 1.0), Qt::AlignCenter, text);
  painter.setPen(color);
  painter.drawText(rect, Qt::AlignCenter, text);
}

QColor InkFor(const QColor& plate) {
  const double luminance = 0.299 * plate.red() + 0.587 * plate.green() + 0.114 * plate.blue();
  return luminance > 150 ? QColor(0x1d, 0x23, 0x2b) : QColor(0xf7, 0xf9, 0xfb);
}

}  // namespace mav::art
