#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <vector>

namespace tarvesh::page {

// A slur's arc on the page: part of the arc picture (GlyphAtlas::SlurArc) stretched over a
// rectangle above the slur's notes. A slur on one line takes the whole picture; one that goes on
// to the next line takes the picture's left half up to where the cursor wraps and its right half
// from the next line's left margin.
struct SlurArc {
  enum class Part { kWhole, kLeftHalf, kRightHalf };
  // The arc's rectangle ends this many rows into the line's cells, so dots above a digit survive.
  static constexpr int kBottomDrop = 2;

  Part part = Part::kWhole;
  // The page pixels the part is stretched over.
  QRect target;

  // The columns of the arc picture the part takes, all its rows: 0..474, 0..236 or 237..473.
  static QRect Source(Part part);
  // The part stretched over `width` columns from `left` above the line whose top is `lineTop`.
  static SlurArc Over(Part part, int left, int width, int lineTop);
  // The arcs of a slur from the middle of the note whose cell's corner is `first` to the middle
  // of the note whose cell ends where `end` lies; none where the notes leave no room between.
  static std::vector<SlurArc> Between(QPoint first, QPoint end, int pageWidth);

  // `picture`, the arc picture at `scale` times its size, stretched over the target at `scale`
  // times its size as ScorePage::StretchCopy stretches it: each pixel takes the picture's pixel
  // under its centre. Format_RGB32.
  QImage Stretched(const QImage& picture, int scale) const;

  bool operator==(const SlurArc&) const = default;
};

}  // namespace tarvesh::page
