#include "glyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace tv {
namespace {

QPixmap Canvas(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

}  // namespace

QIcon CheckMarkGlyph() {
  QPixmap pixmap = Canvas(16);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(0, 128, 0), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPolyline(QPolygonF({QPointF(2.5, 8.5), QPointF(6.5, 12.5), QPointF(13.5, 3.5)}));
  return QIcon(pixmap);
}

QIcon CloseGlyph() {
  QPixmap pixmap = Canvas(16);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(90, 60, 20), 1));
  painter.setBrush(QColor(181, 128, 64));
  painter.drawRect(QRectF(2.5, 1.5, 7, 13));  // the door
  painter.setBrush(QColor(240, 220, 120));
  painter.drawEllipse(QPointF(8, 8.5), 0.9, 0.9);  // its handle
  painter.setPen(QPen(QColor(200, 0, 0), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawLine(QPointF(10.5, 8.5), QPointF(15, 8.5));
  painter.drawPolyline(QPolygonF({QPointF(12.8, 6.2), QPointF(15, 8.5), QPointF(12.8, 10.8)}));
  return QIcon(pixmap);
}

QPixmap ApplicationIcon() {
  QPixmap pixmap(48, 48);
  pixmap.fill(QColor(255, 238, 221));
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  auto table = [&](QRectF frame, QColor header) {
    painter.setPen(QPen(QColor(60, 60, 60), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(frame);
    painter.fillRect(QRectF(frame.left() + 0.5, frame.top() + 0.5, frame.width() - 1, 4), header);
    for (double y = frame.top() + 7.5; y < frame.bottom() - 1; y += 3) {
      painter.drawLine(QPointF(frame.left() + 2, y), QPointF(frame.right() - 2, y));
    }
  };
  table(QRectF(2.5, 4.5, 17, 22), QColor(249, 211, 125));
  table(QRectF(28.5, 21.5, 17, 22), QColor(194, 205, 254));
  painter.setPen(QPen(QColor(0, 128, 0), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawLine(QPointF(21, 12), QPointF(39, 12));
  painter.drawPolyline(QPolygonF({QPointF(35, 8), QPointF(39, 12), QPointF(35, 16)}));
  painter.setPen(QPen(QColor(200, 0, 0), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawLine(QPointF(27, 37), QPointF(9, 37));
  painter.drawPolyline(QPolygonF({QPointF(13, 33), QPointF(9, 37), QPointF(13, 41)}));
  return pixmap;
}

}  // namespace tv
