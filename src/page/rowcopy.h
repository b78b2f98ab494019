#pragma once

#include <QtGlobal>
#include <cstring>

#include "page/geometry.h"

namespace tarvesh::page {

// Copies `height` rows of `width` pixels from rows `fromStride` pixels apart to rows `toStride`
// apart. The rectangles a keystroke writes and keeps are many rows a few pixels wide, where a
// library call per row would cost more than the copy: rows are copied in registers, and the
// widths the glyph grid writes most (a narrow cell, a wide cell, a clear block) compile to
// straight copies.
template <int kWidth>
void CopyFixedRows(const quint32* from, qsizetype fromStride, int height, quint32* to,
                   qsizetype toStride) {
  for (int y = 0; y < height; ++y, from += fromStride, to += toStride)
    std::memcpy(to, from, kWidth * sizeof(quint32));
}

inline void CopyRows(const quint32* from, qsizetype fromStride, int width, int height, quint32* to,
                     qsizetype toStride) {
  switch (width) {
    case kNarrowCell:
      return CopyFixedRows<kNarrowCell>(from, fromStride, height, to, toStride);
    case kWideCell:
      return CopyFixedRows<kWideCell>(from, fromStride, height, to, toStride);
    case kClearBlockWidth:
      return CopyFixedRows<kClearBlockWidth>(from, fromStride, height, to, toStride);
    default:
      break;
  }
  for (int y = 0; y < height; ++y, from += fromStride, to += toStride) {
    int x = 0;
    for (; x + 4 <= width; x += 4) std::memcpy(to + x, from + x, 4 * sizeof(quint32));
    for (; x < width; ++x) to[x] = from[x];
  }
}

}  // namespace tarvesh::page
