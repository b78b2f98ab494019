#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>

namespace tarvesh::print {

// The ink of one colour on a print page: one bit a pixel, 1 where there is ink. A glyph's art is
// laid in a byte at a time, so a page of glyphs costs little more than copying its ink.
class InkLayer {
 public:
  InkLayer(const QColor& colour, QSize size);

  const QColor& Colour() const { return colour_; }
  // Format_Mono, bit 1 ink; its colour table is not meant to be shown.
  const QImage& Bits() const { return bits_; }
  // Every pixel with ink lies in this rectangle.
  QRect Inked() const { return inked_; }

  // `image` as one-bit rows, 1 where a pixel is not white: art for LayIn.
  static QImage InkOf(const QImage& image);
  // Adds the ink of `source` (made by InkOf) in `from` with its top-left corner at `at`.
  void LayIn(const QImage& source, const QRect& from, QPoint at);
  void Fill(const QRect& rect);
  void Set(int x, int y) {
    if (!bits_.valid(x, y)) return;
    bits_.scanLine(y)[x >> 3] |= uchar(0x80 >> (x & 7));
    inked_ |= QRect(x, y, 1, 1);
  }
  bool Test(int x, int y) const {
    return bits_.valid(x, y) && (bits_.constScanLine(y)[x >> 3] & (0x80 >> (x & 7)));
  }

 private:
  QColor colour_;
  QImage bits_;
  QRect inked_;
};

}  // namespace tarvesh::print
