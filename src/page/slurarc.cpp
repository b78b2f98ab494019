#include "page/slurarc.h"

#include <algorithm>

#include "page/geometry.h"
#include "page/glyphatlas.h"
#include "page/rounding.h"

namespace tarvesh::page {

namespace {
constexpr int kArcHalf = GlyphAtlas::kSlurArcWidth / 2;
constexpr int kBottomDrop = SlurArc::kBottomDrop;
// Its top lies this far above the line, and a row higher for every kWidthPerRow pixels of width.
constexpr int kRise = 5;
constexpr double kWidthPerRow = 100.0;
// An end of the arc lies over the middle of its note's cell.
constexpr int kHalfCell = kWideCell / 2;
}  // namespace

QRect SlurArc::Source(Part part) {
  switch (part) {
    case Part::kLeftHalf:
      return QRect(0, 0, kArcHalf, GlyphAtlas::kSlurArcHeight);
    case Part::kRightHalf:
      return QRect(kArcHalf, 0, kArcHalf, GlyphAtlas::kSlurArcHeight);
    case Part::kWhole:
      break;
  }
  return QRect(0, 0, GlyphAtlas::kSlurArcWidth, GlyphAtlas::kSlurArcHeight);
}

SlurArc SlurArc::Over(Part part, int left, int width, int lineTop) {
  // The bottom edge is exact; the fractional top rounds to the nearest row, halves to even.
  const int top = RoundHalfEven(lineTop - kRise - width / kWidthPerRow);
  return {part, QRect(left, top, width, lineTop + kBottomDrop - top)};
}

std::vector<SlurArc> SlurArc::Between(QPoint first, QPoint end, int pageWidth) {
  const int x1 = first.x() + kHalfCell;
  const int x2 = end.x() - kHalfCell;
  std::vector<SlurArc> arcs;
  if (first.y() == end.y()) {
    arcs.push_back(Over(Part::kWhole, x1, x2 - x1, first.y()));
  } else {
    arcs.push_back(Over(Part::kLeftHalf, x1, pageWidth - x1 - kWrapInset, first.y()));
    arcs.push_back(Over(Part::kRightHalf, kLeftMargin, x2 - kLeftMargin, end.y()));
  }
  std::erase_if(arcs, [](const SlurArc& arc) { return arc.target.width() <= 0; });
  return arcs;
}

QImage SlurArc::Stretched(const QImage& picture, int scale) const {
  const QRect source = Source(part);
  const QRect from(source.topLeft() * scale, source.size() * scale);
  const QSize size = target.size() * scale;
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
  QImage stretched(size, QImage::Format_RGB32);
  stretched.fill(Qt::white);
  // The source column of every column, or -1 past the picture's edge.
  const int width = size.width(), pictureWidth = rgb.width();
  std::vector<int> columns(size_t(std::max(width, 0)));
  for (int x = 0; x < width; ++x) {
    const int sx = StretchedFrom(x, 0, width, from.x(), from.width());
    columns[size_t(x)] = sx < pictureWidth ? sx : -1;
  }
  for (int y = 0; y < size.height(); ++y) {
    const int sy = StretchedFrom(y, 0, size.height(), from.y(), from.height());
    if (sy < 0 || sy >= rgb.height()) continue;
    const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(sy));
    auto* out = reinterpret_cast<QRgb*>(stretched.scanLine(y));
    for (int x = 0; x < width; ++x)
      if (columns[size_t(x)] >= 0) out[x] = in[columns[size_t(x)]];
  }
  return stretched;
}

}  // namespace tarvesh::page
