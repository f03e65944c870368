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

// A closed outline through `corners`, in order.
QPainterPath outline(std::initializer_list<QPointF> corners) {
  QPainterPath path;
  path.addPolygon(QPolygonF(corners));
  path.closeSubpath();
  return path;
}

// An arrow with a small filled square beside it: something is held.
QCursor selected_cursor() {
  QPixmap pixmap = blank();
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::white);
  painter.drawPath(outline({{1, 1}, {1, 19}, {6, 14}, {10, 22}, {13, 21}, {9, 13}, {16, 13}}));
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
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(QColor(230, 230, 230));
  painter.drawPath(outline({{10, 5}, {22, 5}, {16, 16}, {22, 27}, {10, 27}, {16, 16}}));
  painter.setBrush(QColor(200, 160, 60));
  painter.drawPolygon(QPolygon({QPoint(13, 25), QPoint(19, 25), QPoint(16, 19)}));
  return QCursor(pixmap, 16, 16);
}

}  // namespace

ProgramCursors draw_program_cursors() {
  return {selected_cursor(), wait_cursor()};
}

}  // namespace mav
