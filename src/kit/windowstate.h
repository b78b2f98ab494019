#pragma once

#include <QString>

namespace tarvesh::kit {

// The window's own variables besides the document: overlay counters and selection, the mouse
// tools, staff input, where the next syllable of lyrics mode goes, and the batch export.
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
  // Lyrics mode: the verse row (1-4), the top of the line and the item the next syllable goes
  // under (0 and -1 before a line is chosen or past its last note), and whether the last
  // syllable is a Latin word still being typed.
  int LyricsVerse = 1;
  int LyricsTop = 0;
  int LyricsNote = -1;
  int LyricsWordOpen = 0;
  float ExportStep = 0;
  QString BatchStamp;
  QString PathBeforeBatch;

  bool operator==(const WindowState&) const = default;
};

}  // namespace tarvesh::kit
