#include "kit/linecontrol.h"

#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace tarvesh::kit {

QRect LineBox(const QLine& line) {
  return QRect(std::min(line.x1(), line.x2()), std::min(line.y1(), line.y2()),
               std::abs(line.dx()) + 1, std::abs(line.dy()) + 1);
}

LineControl::LineControl(const QString& name, QWidget* parent, const QColor& colour)
    : QWidget(parent), colour_(colour) {
  setObjectName(name);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
}

void LineControl::SetLine(int x1, int y1, int x2, int y2) {
  x1_ = x1;
  y1_ = y1;
  x2_ = x2;
  y2_ = y2;
  setGeometry(LineBox(QLine(x1, y1, x2, y2)));
}

void LineControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(colour_);
  const QPoint origin = pos();
  painter.drawLine(QPoint(x1_, y1_) - origin, QPoint(x2_, y2_) - origin);
}

}  // namespace tarvesh::kit
