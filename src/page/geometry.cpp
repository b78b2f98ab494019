#include "page/geometry.h"

#include "page/rounding.h"

namespace tarvesh::page {

int PageHeightFor(int width) {
  return RoundHalfEven(width * kA4Ratio);
}

}  // namespace tarvesh::page
