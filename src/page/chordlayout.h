#pragma once

namespace tarvesh::page {

// Where a chord symbol's pieces go under its line: written by the chord writer, read back by
// the page reader.
struct ChordLayout {
  // Fonts of a symbol, in points.
  static constexpr double kDegreePointSize = 18;
  static constexpr double kFigurePointSize = 9;
  // The symbol's first text row lies this far below the line top.
  static constexpr int kTextTop = 26;
  // Each "+" / "-" backs up over the trailing blank of what precedes it.
  static constexpr int kSignBackUp = 11;
  // The small figures start below and left of the end of the degree, each backing up a little.
  static constexpr int kFigureBackUp = 11;
  static constexpr int kFigureDrop = 11;
  static constexpr int kSmallFigureBackUp = 5;
};

}  // namespace tarvesh::page
