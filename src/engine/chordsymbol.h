#pragma once

#include "engine/enginehost.h"
#include "page/enginestate.h"
#include "page/scorepage.h"

namespace tarvesh::engine {

// Writes chord symbols as text under the current line: the degree after the bar line before the
// cursor (or at the cursor while G is held), with the modifiers of the held keypad keys, then
// moves the cursor past the next bar line. Bar lines are found by reading the page, which keeps
// no list of what is on it. Touches no engine state besides the cursor.
class ChordSymbolWriter {
 public:
  // Where a symbol's text starts when no bar line precedes the cursor.
  static constexpr int kDefaultAnchor = 16;
  // A cursor that would land this close to the right edge goes to the next line instead.
  static constexpr int kRightEdgeReserve = 55;
  // Left edge of the first grid cell of a line after a chord jump.
  static constexpr int kNextLineLeft = 26;

  ChordSymbolWriter(page::ScorePage& page, const page::EngineState& state, EngineHost& host);

  // Writes the symbol of glyph code `code` (0-99): degree code mod 7; the rest code only erases.
  void Write(int code);

 private:
  int FindAnchor(int top) const;
  void DrawEraserMark(int anchor, float top);
  void DrawSymbol(int code, int anchor, float top, const QColor& colour);
  void MovePastNextBarLine(int lineSpacing);

  page::ScorePage& page_;
  const page::EngineState& state_;
  EngineHost& host_;
};

}  // namespace tarvesh::engine
