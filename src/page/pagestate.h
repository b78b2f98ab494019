#pragma once

#include <QColor>
#include <QPointF>

namespace tarvesh::page {

// What the page holds besides its pixels: the insertion cursor and the text pen. An edit keeps
// it from its start and its end, so taking the edit back puts the cursor back too.
struct PageState {
  // Top-left corner of the cell where the next glyph goes; single precision, whole in practice.
  float cursorLeft = 20;
  float cursorTop = 96;
  // Top-left corner of the next character cell.
  QPointF textPosition;
  double fontPointSize = 18;
  bool fontBold = true;
  QColor foreColour{0, 0, 0};

  bool operator==(const PageState&) const = default;
};

}  // namespace tarvesh::page
