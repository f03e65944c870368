#include "platform/qt/Cursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace mav {
namespace {

constexpr int kSize = 32;

QPixmap blank() {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

// An arrow with a small filled square beside it: something is held.
QCursor selected_cursor() {
  QPixmap pixmap = blank();
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  QPainterPath arrow;
  arrow.moveTo(1, 1);
  arrow.lineTo(1, 19);
  arrow.lineTo(6, 14);
  arrow.lineTo(10, 22);
  arrow.lineTo(13, 21);
  arrow.lineTo(9, 13);
  arrow.lineTo(16, 13);
  arrow.closeSubpath();
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::white);
  painter.drawPath(arrow);
  painter.setBrush(QColor(255, 200, 40));
  painter.drawRect(17, 17, 11, 11);
  return QCursor(pixmap, 1, 1);
}

// An hourglass.
QCursor wait_cursor() {
  QPixmap pixmap = blank();
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, 2));
  painter.drawLine(8, 4, 24, 4);
  painter.drawLine(8, 28, 24, 28);
  QPainterPath glass;
  glass.moveTo(10, 5);
  glass.lineTo(22, 5);
  glass.lineTo(16, 16);
  glass.lineTo(22, 27);
  glass.lineTo(10, 27);
  glass.lineTo(16, 16);
  glass.closeSubpath();
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(QColor(230, 230, 230));
  painter.drawPath(glass);
  painter.setBrush(QColor(200, 160, 60));
  painter.drawPolygon(QPolygon({QPoint(13, 25), QPoint(19, 25), QPoint(16, 19)}));
  return QCursor(pixmap, 16, 16);
}

}  // namespace

ProgramCursors draw_program_cursors() {
  return {selected_cursor(), wait_cursor()};
}

}  // namespace mav
