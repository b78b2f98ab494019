#include "engine/linescan.h"

#include "page/geometry.h"

namespace tarvesh::engine {

bool IsBarLineAt(const page::ScorePage& page, int x, int top) {
  return page.IsBlack(x, top + kBarLineRow) && page.IsBlack(x, top + kBarLineLowerRow);
}

std::optional<int> FindLineEnd(const page::ScorePage& page, int top, int fromX) {
  for (int x = fromX; x >= 0; --x) {
    if (page.IsBlack(x, top + kBarLineRow)) return x;
  }
  return std::nullopt;
}

std::vector<int> FindGaps(const page::ScorePage& page, int top, int right) {
  std::vector<int> gaps;
  bool previousInk = true;
  for (int x = kGapScanStart; x <= right; x += page::kNarrowCell) {
    bool ink = false;
    for (int dx = 0; dx < page::kNarrowCell; ++dx) {
      ink = ink || page.IsBlack(x + dx, top + kBodyRow) ||
            page.IsBlack(x + dx, top + page::kDurationLineRow);
    }
    if (!ink && previousInk) gaps.push_back(x);
    previousInk = ink;
  }
  return gaps;
}

}  // namespace tarvesh::engine
