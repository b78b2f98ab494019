#pragma once

#include <QKeyEvent>
#include <memory>

namespace tarvesh::kit {

// Virtual-key numbers the key handler works with: digits 48-57, letters 65-90, keypad 96-111,
// F1-F12 112-123, punctuation 186-222, and the editing keys.
int VirtualKeyOf(const QKeyEvent& event);

// A key event that the page reads back as exactly `keyCode` with `shift` bits (1 Shift, 2 Ctrl,
// 4 Alt), as scripts deliver them.
std::unique_ptr<QKeyEvent> MakeKeyEvent(QEvent::Type type, int keyCode, int shift);

}  // namespace tarvesh::kit
