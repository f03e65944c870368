#include "platform/qt/ProgramIcon.h"

#include <QPainter>
#include <QPixmap>

namespace mav {
namespace {

// The packaged icon's drawing (a port matrix with two ports joined into a net), on a 64-pixel
// grid.
QPixmap drawn_icon() {
  QPixmap pixmap(64, 64);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x0d, 0x17, 0x26), 2));
  p.setBrush(QColor(0x1f, 0x32, 0x4c));
  p.drawRoundedRect(QRectF(4, 8, 56, 48), 6, 6);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xb9, 0x9b, 0x67));
  p.drawRoundedRect(QRectF(9, 13, 46, 6), 2, 2);
  p.setBrush(QColor(0x4f, 0x6f, 0x96));
  for (const int y : {28, 39, 50}) {
    for (const int x : {14, 26, 38, 50}) p.drawEllipse(QPointF(x, y), 3, 3);
  }
  const QColor net(0x6f, 0xdc, 0x6f);
  p.setPen(QPen(net, 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(14, 39, 38, 39);
  p.setPen(Qt::NoPen);
  p.setBrush(net);
  p.drawEllipse(QPointF(14, 39), 4, 4);
  p.drawEllipse(QPointF(38, 39), 4, 4);
  p.setBrush(QColor(0xe8, 0x50, 0x50));
  p.drawEllipse(QPointF(50, 28), 3.5, 3.5);
  return pixmap;
}

}  // namespace

QIcon program_icon() {
  return QIcon::fromTheme("mav-controller", QIcon(drawn_icon()));
}

}  // namespace mav
