#pragma once

#include <optional>
#include <vector>

#include "page/scorepage.h"

namespace tarvesh::engine {

// Rows of a line, measured from its top, that tell what is on the page without any model of it.
// Only bar-line glyphs have ink in row 5, and only they have ink in both rows 5 and 32.
inline constexpr int kBarLineRow = 5;
inline constexpr int kBarLineLowerRow = 32;
// Digit bodies cross row 15 and the first duration line lies in row 26
// (page::kDurationLineRow): together they show whether a column holds a glyph or a joined group.
inline constexpr int kBodyRow = 15;
// Justification looks for gaps in blocks of one narrow cell from this x on.
inline constexpr int kGapScanStart = 26;

// True when column `x` of the line at `top` reads black in rows 5 and 32.
bool IsBarLineAt(const page::ScorePage& page, int x, int top);

// The line's last bar line: the rightmost x from `fromX` down to 0 whose pixel in row 5 reads
// black. Reads at most fromX + 1 pixels.
std::optional<int> FindLineEnd(const page::ScorePage& page, int top, int fromX);

// Left edges of the gaps of the line at `top`, left to right: a gap is the first blank 6-pixel
// block (rows 15 and 26) after a block with ink, for blocks from x = 26 while x <= `right`. The
// block before the first counts as ink, so a line starting blank has a gap at 26.
std::vector<int> FindGaps(const page::ScorePage& page, int top, int right);

}  // namespace tarvesh::engine
