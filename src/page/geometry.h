#pragma once

namespace tarvesh::page {

// The line grid of the page. Glyph cells are 12 or 6 pixels wide and 40 high; the first line's
// top is at 96 and every line starts at the left margin.
inline constexpr int kLeftMargin = 20;
inline constexpr int kFirstLineTop = 96;
inline constexpr int kCellHeight = 40;
inline constexpr int kWideCell = 12;
inline constexpr int kNarrowCell = 6;

// A note's duration lines: up to three, from row 26 of its cell two rows apart.
inline constexpr int kDurationLineRow = 26;
inline constexpr int kDurationLines = 3;
inline constexpr int kDurationLineStep = 2;

// The cursor wraps when its left edge passes page width minus this.
inline constexpr int kWrapInset = 32;
// The engine's clear block: a white block this wide and a cell high.
inline constexpr int kClearBlockWidth = 20;
// In insert mode everything from page width minus this to the edge is cleared after a shift.
inline constexpr int kEraserStripInset = 20;
// The right margin line stands this far inside the page's right edge.
inline constexpr int kMarginLineInset = 14;

// Page height follows the width in A4 proportion.
inline constexpr double kA4Ratio = 1.4142135623731;

// Width of a page holding `barsPerLine` bars of `barWidth` pixels.
inline constexpr int PageWidthFor(int barsPerLine, int barWidth) {
  return barsPerLine * barWidth + 28;
}

// The bitmap's whole-pixel height for a page of this width (the fraction rounds half to even).
int PageHeightFor(int width);

}  // namespace tarvesh::page
