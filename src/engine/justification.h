#pragma once

#include <vector>

namespace tarvesh::engine {

// A line with more spare width than this share of (page width - 40) is too short to stretch.
inline constexpr double kMaxStretchShare = 0.4;
// The spare width of a line is measured up to this far inside the page's right edge.
inline constexpr int kLineEndInset = 17;
// The line end is searched from this far beyond the page's right edge.
inline constexpr int kLineEndSearchBeyond = 500;
// While justification inserts, lines run this much past the page's edge, so the cursor never
// wraps; what is pushed past the edge is dropped, as the page keeps its size.
inline constexpr int kJustifyWidening = 50;

// How many narrow blanks each of `gapCount` gaps receives when `units` blanks are shared out:
// every gap gets units / gapCount, and the remainder goes one each to gaps spread evenly from
// the first on (a single-precision step of gapCount / remainder). A count of 0 or less gives
// every gap 0; no gaps give an empty table.
std::vector<int> ShareOutUnits(int units, int gapCount);

}  // namespace tarvesh::engine
