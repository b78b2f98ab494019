#pragma once

#include <QString>

namespace tarvesh::kit {

// The window's own variables besides the document: overlay counters and selection, the mouse
// tools, staff input and the batch export.
struct WindowState {
  int SelectedOverlay = -1;
  int OverlayAnchorX = 0;
  int OverlayAnchorY = 0;
  int SelectionDragging = 0;
  int EraserPressed = 0;
  int StaffStep = 0;
  int StaffNoteCode = 0;
  int StaffDurationZone = 0;
  QString StaffStemSuffix;
  float ExportStep = 0;
  QString BatchStamp;
  QString PathBeforeBatch;

  bool operator==(const WindowState&) const = default;
};

}  // namespace tarvesh::kit
