#pragma once

#include <climits>
#include <cmath>

namespace tarvesh::page {

// Every conversion of a page position to a whole pixel rounds to the nearest integer with halves
// going to the even neighbour, as the stored files and the grid arithmetic expect.
inline int RoundHalfEven(double v) {
  return static_cast<int>(std::nearbyint(v));
}

}  // namespace tarvesh::page
