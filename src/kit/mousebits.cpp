#include "kit/mousebits.h"

namespace tarvesh::kit {

int ButtonBits(Qt::MouseButtons buttons) {
  return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
         (buttons & Qt::MiddleButton ? 4 : 0);
}

int ShiftBits(Qt::KeyboardModifiers modifiers) {
  return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
         (modifiers & Qt::AltModifier ? 4 : 0);
}

Qt::MouseButtons QtButtons(int buttonBits) {
  Qt::MouseButtons buttons;
  if (buttonBits & 1) buttons |= Qt::LeftButton;
  if (buttonBits & 2) buttons |= Qt::RightButton;
  if (buttonBits & 4) buttons |= Qt::MiddleButton;
  return buttons;
}

Qt::KeyboardModifiers QtModifiers(int shiftBits) {
  Qt::KeyboardModifiers modifiers;
  if (shiftBits & 1) modifiers |= Qt::ShiftModifier;
  if (shiftBits & 2) modifiers |= Qt::ControlModifier;
  if (shiftBits & 4) modifiers |= Qt::AltModifier;
  return modifiers;
}

}  // namespace tarvesh::kit
