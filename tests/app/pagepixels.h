#pragma once

#include <QImage>
#include <QRect>

namespace tarvesh::testing {

inline constexpr QRgb kBlack = 0xff000000;

// The part of `area` that is no longer black, on a page painted black there beforehand: every
// pixel an operation wrote, white included.
inline QRect Repainted(const QImage& page, const QRect& area) {
  QRect box;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (page.pixel(x, y) != kBlack) box |= QRect(x, y, 1, 1);
  return box;
}

}  // namespace tarvesh::testing
