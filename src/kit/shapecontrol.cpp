#include "kit/shapecontrol.h"

#include <QPainter>

namespace tarvesh::kit {

ShapeControl::ShapeControl(const QString& name, QWidget* parent, const QColor& colour)
    : QWidget(parent), colour_(colour) {
  setObjectName(name);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
}

void ShapeControl::SetPressed(bool pressed) {
  pressed_ = pressed;
  update();
}

void ShapeControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (pressed_) {
    QColor fill = colour_;
    fill.setAlpha(80);
    painter.fillRect(rect(), fill);
  }
  painter.setPen(colour_);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace tarvesh::kit
