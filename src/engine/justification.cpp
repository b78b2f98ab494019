#include "engine/justification.h"

#include <cmath>

namespace tarvesh::engine {

std::vector<int> ShareOutUnits(int units, int gapCount) {
  if (gapCount <= 0) return {};
  // A negative count (last bar line right of W - 17) inserts nothing however it is divided.
  if (units < 0) units = 0;
  std::vector<int> extra(gapCount, units / gapCount);
  int remainder = units % gapCount;
  if (remainder > 0) {
    // The counter is single precision and accumulates its step, as the spread of the remainder
    // over the gaps depends on exactly that arithmetic.
    const float step = static_cast<float>(gapCount) / static_cast<float>(remainder);
    for (float j = 0; j <= static_cast<float>(gapCount - 1); j += step) {
      if (remainder > 0) {
        ++extra[static_cast<int>(std::floor(j))];
        --remainder;
      }
    }
  }
  return extra;
}

}  // namespace tarvesh::engine
