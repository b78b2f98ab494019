#pragma once

#include <QRect>
#include <vector>

#include "reading/inkmap.h"

namespace tarvesh::reading {

// A piece of ink whose pixels touch, corners included: its bounds, its pixel count and the
// indices of its runs.
struct InkComponent {
  QRect box;
  int pixels = 0;
  std::vector<int> runs;
};

// The connected pieces of `runs` (ordered by row, `rowStarts` as InkMap gives them), in the
// order of their first run.
std::vector<InkComponent> FindComponents(const std::vector<InkRun>& runs,
                                         const std::vector<int>& rowStarts);

}  // namespace tarvesh::reading
