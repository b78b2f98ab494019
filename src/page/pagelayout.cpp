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

}  // namespace tarvesh::page
