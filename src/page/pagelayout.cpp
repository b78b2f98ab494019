#include "page/pagelayout.h"

#include "page/geometry.h"

namespace tarvesh::page {

PageLayout ComputePageLayout(int barWidth, int barsPerLine, int lineSpacing) {
  PageLayout layout;
  for (int column = 1; column <= barsPerLine; ++column) {
    const int x = column * barWidth + 14;
    for (int y = kFirstLineTop; lineSpacing > 0 && y <= kLastMarkTop; y += lineSpacing)
      layout.marks.emplace_back(x, y, x, y + kMarkLength);
  }
  layout.width = PageWidthFor(barsPerLine, barWidth);
  layout.height = PageHeightFor(layout.width);
  layout.marginX = layout.width - kMarginLineInset;
  return layout;
}

std::optional<BarGrid> GridHolding(QSize size, BarGrid grid, BarGrid most) {
  auto holds = [&](const BarGrid& g) {
    const int width = PageWidthFor(g.barsPerLine, g.barWidth);
    return width >= size.width() && PageHeightFor(width) >= size.height();
  };
  if (holds(grid)) return grid;
  for (int bars = grid.barsPerLine + 1; bars <= most.barsPerLine; ++bars)
    if (holds({grid.barWidth, bars})) return BarGrid{grid.barWidth, bars};
  for (int width = grid.barWidth + 1; width <= most.barWidth; ++width)
    if (holds({width, most.barsPerLine})) return BarGrid{width, most.barsPerLine};
  return std::nullopt;
}

}  // namespace tarvesh::page
