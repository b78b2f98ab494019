#include "kit/mousebits.h"

#include "engine/virtualkey.h"

namespace tarvesh::kit {

int ButtonBits(Qt::MouseButtons buttons) {
  return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
         (buttons & Qt::MiddleButton ? 4 : 0);
}

using engine::vk::kAltBit;
using engine::vk::kCtrlBit;
using engine::vk::kShiftBit;

int ShiftBits(Qt::KeyboardModifiers modifiers) {
  return (modifiers & Qt::ShiftModifier ? kShiftBit : 0) |
         (modifiers & Qt::ControlModifier ? kCtrlBit : 0) |
         (modifiers & Qt::AltModifier ? kAltBit : 0);
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
  if (shiftBits & kShiftBit) modifiers |= Qt::ShiftModifier;
  if (shiftBits & kCtrlBit) modifiers |= Qt::ControlModifier;
  if (shiftBits & kAltBit) modifiers |= Qt::AltModifier;
  return modifiers;
}

}  // namespace tarvesh::kit
