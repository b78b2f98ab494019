#pragma once

#include <QMouseEvent>

namespace tarvesh::kit {

// Mouse buttons and the shift state as the handlers know them: buttons 1 left, 2 right,
// 4 middle; shift bits 1 Shift, 2 Ctrl, 4 Alt.
int ButtonBits(Qt::MouseButtons buttons);
int ShiftBits(Qt::KeyboardModifiers modifiers);
Qt::MouseButtons QtButtons(int buttonBits);
Qt::KeyboardModifiers QtModifiers(int shiftBits);

}  // namespace tarvesh::kit
