#pragma once

#include <climits>
#include <cmath>

namespace tarvesh::page {

// Every conversion of a page position to a whole pixel rounds to the nearest integer with halves
// going to the even neighbour, as the stored files and the grid arithmetic expect.
inline int RoundHalfEven(double v) {
  return static_cast<int>(std::nearbyint(v));
}

// The source pixel a nearest-neighbour stretch of `sourceLength` pixels from `sourceStart` over
// `targetLength` pixels from `targetStart` takes for the target pixel `at`: the one whose span
// covers the target pixel's centre.
inline int StretchedFrom(int at, int targetStart, int targetLength, int sourceStart,
                         int sourceLength) {
  return sourceStart + int((at - targetStart + 0.5) * sourceLength / targetLength);
}

}  // namespace tarvesh::page
