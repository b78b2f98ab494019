#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <array>
#include <memory>

namespace tarvesh::page {

// The page's pixels: one block with spare columns beyond the page's width, seen through a
// QImage of the page's size. A resize that stays within the block changes only the size, and a
// narrowing whitens only what it drops that may hold ink, so every pixel of the block outside
// the page is white. The block is allocated when the pixels are first used, so the sizes set
// before that cost nothing. A copy of Image() a caller keeps never changes: a write to a block
// that such a copy still shows clones the block first.
class PageBitmap {
 public:
  // Columns kept beyond the width, so the page can widen this far without reallocating.
  static constexpr int kSpareColumns = 64;
  static constexpr quint32 kWhite = 0xffffffffu;

  PageBitmap(int width, int height);

  int Width() const { return size_.width(); }
  int Height() const { return size_.height(); }
  QRect Rect() const { return QRect(QPoint(0, 0), size_); }
  // The page's pixels as Format_RGB32.
  const QImage& Image() const;
  // The pixel at (x, y), which must lie on the page.
  quint32 Pixel(int x, int y) const { return block_ ? Row(y)[x] : kWhite; }
  const quint32* Row(int y) const;
  // Pixels from one row to the next.
  qsizetype RowPixels() const;
  // Every pixel that can differ from white lies in this rectangle.
  QRect Inked() const { return inked_; }

  // Makes the pixels this page's own to write and notes `rect` (on the page) as written;
  // returns the first row. Rows follow RowPixels() apart.
  quint32* BeginWrite(const QRect& rect);
  // The same for painting with QPainter on the returned image.
  QImage& BeginPaint(const QRect& rect);
  // Copies `from` to `to` as if the source were read completely first; both lie on the page.
  void Move(const QRect& from, QPoint to);
  void Clear();
  // New size, at least 1 x 1; what lies inside both sizes is kept, new parts are white.
  void Resize(QSize size);
  // The parts of the page outside `size` that may hold ink: what a resize to `size` drops.
  std::array<QRect, 2> InkOutside(QSize size) const;

 private:
  struct Block {
    Block(int width, int height);
    const int width;
    const int height;
    const std::unique_ptr<quint32[]> pixels;
  };

  void Allocate() const;
  // A fresh view of the page's size over the block; the view holds the block alive.
  void MakeView() const;
  void MakeOwn();
  void FillWhite(const QRect& rect);

  QSize size_;
  // Allocated on first use, also from the const readers.
  mutable std::shared_ptr<Block> block_;
  mutable QImage view_;
  // inked_ bounds every pixel written since the page was last all white. Writes inside
  // settled_ (the page as it was at its last narrowing or allocation) are not followed further;
  // loose_ bounds the others, which is what a widening and narrowing again have to whiten.
  QRect inked_;
  QRect settled_;
  QRect loose_;
};

}  // namespace tarvesh::page
