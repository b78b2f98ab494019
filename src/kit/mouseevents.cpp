#include "kit/mouseevents.h"

#include <QMouseEvent>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "kit/mousebits.h"

namespace tarvesh::kit {

MouseEvents::MouseEvents(QWidget* owner) : QObject(owner), owner_(owner) {}

std::optional<QPointF> MouseEvents::Position(const QMouseEvent* event) const {
  const QPointF at = event->position();
  if (!std::isfinite(at.x()) || !std::isfinite(at.y())) return std::nullopt;
  return QPointF(std::clamp(at.x(), 0.0, double(owner_->width())),
                 std::clamp(at.y(), 0.0, double(owner_->height())));
}

void MouseEvents::Press(QMouseEvent* event) {
  const std::optional<QPointF> at = Position(event);
  if (!at) return;
  pressed_ = true;
  emit MouseDown(ButtonBits(event->button()), ShiftBits(event->modifiers()), at->x(), at->y());
}

void MouseEvents::Move(QMouseEvent* event) {
  const std::optional<QPointF> at = Position(event);
  if (!at) return;
  emit MouseMove(ButtonBits(event->buttons()), ShiftBits(event->modifiers()), at->x(), at->y());
}

void MouseEvents::Release(QMouseEvent* event) {
  const std::optional<QPointF> at = Position(event);
  if (!at) return;
  const bool wasPressed = pressed_;
  pressed_ = false;
  emit MouseUp(ButtonBits(event->button()), ShiftBits(event->modifiers()), at->x(), at->y());
  // Over the control is where the position rounds to one of its pixels.
  const QPointF raw = event->position();
  const bool over = raw.x() >= -0.5 && raw.x() < owner_->width() - 0.5 && raw.y() >= -0.5 &&
                    raw.y() < owner_->height() - 0.5;
  if (wasPressed && over) emit Click();
}

void MouseEvents::DoubleClick(QMouseEvent* event) {
  Press(event);
  emit DblClick();
}

}  // namespace tarvesh::kit
