#pragma once

#include <QLine>
#include <QSize>
#include <optional>
#include <vector>

namespace tarvesh::page {

// The page geometry that follows from the three layout sliders: page size, the right margin
// line and one short guide mark at the end of every bar of every line.
struct PageLayout {
  int width = 0;
  int height = 0;
  int marginX = 0;
  std::vector<QLine> marks;  // vertical, 32 pixels down from a line's top
};

// Marks go down to line tops of at most this y, below the page bottom on small pages.
inline constexpr int kLastMarkTop = 2048;
inline constexpr int kMarkLength = 32;

PageLayout ComputePageLayout(int barWidth, int barsPerLine, int lineSpacing);

// The bars of a page: `barsPerLine` bars of `barWidth` pixels to a line.
struct BarGrid {
  int barWidth = 0;
  int barsPerLine = 0;
  bool operator==(const BarGrid&) const = default;
};

// The grid whose page holds a picture of `size` whole, `grid` changed as little as needed:
// `grid` itself when its page is large enough, else more bars to a line, then wider bars, up to
// `most`. Nothing when even `most` makes too small a page.
std::optional<BarGrid> GridHolding(QSize size, BarGrid grid, BarGrid most);

}  // namespace tarvesh::page
