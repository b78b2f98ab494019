#include "kit/mouseevents.h"

#include <QMouseEvent>
#include <QWidget>

#include "kit/mousebits.h"

namespace tarvesh::kit {

MouseEvents::MouseEvents(QWidget* owner) : QObject(owner), owner_(owner) {}

void MouseEvents::Press(QMouseEvent* event) {
  pressed_ = true;
  emit MouseDown(ButtonBits(event->button()), ShiftBits(event->modifiers()), event->position().x(),
                 event->position().y());
}

void MouseEvents::Move(QMouseEvent* event) {
  emit MouseMove(ButtonBits(event->buttons()), ShiftBits(event->modifiers()), event->position().x(),
                 event->position().y());
}

void MouseEvents::Release(QMouseEvent* event) {
  const bool wasPressed = pressed_;
  pressed_ = false;
  emit MouseUp(ButtonBits(event->button()), ShiftBits(event->modifiers()), event->position().x(),
               event->position().y());
  if (wasPressed && owner_->rect().contains(event->position().toPoint())) emit Click();
}

void MouseEvents::DoubleClick(QMouseEvent* event) {
  Press(event);
  emit DblClick();
}

}  // namespace tarvesh::kit
