#pragma once

class QAbstractButton;

namespace tarvesh::kit {
class ControlRegistry;
}

namespace tarvesh::app {

// The command a key pressed with Ctrl (and Shift) stands for, as in every editor: Ctrl+N new,
// Ctrl+O open, Ctrl+S save, Ctrl+Shift+S save as, Ctrl+P print, Ctrl+E export PDF, Ctrl+Z undo,
// Ctrl+Y and Ctrl+Shift+Z redo. The button
// of that command, or nullptr for any other key.
QAbstractButton* ShortcutButton(const kit::ControlRegistry& controls, int keyCode, int shift);

}  // namespace tarvesh::app
