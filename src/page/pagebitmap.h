#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <array>
#include <limits>
#include <memory>
#include <vector>

#include "page/picturerows.h"

namespace tarvesh::page {

// The page's pixels: one block, seen through a QImage of the page's size. A resize that stays
// within the block changes only the size, and a narrowing whitens only what it drops that holds
// ink, so every pixel of the block outside the page is white. For each row the bitmap knows where
// its ink ends, so it can tell blank paper without reading it. The block is allocated when the
// pixels are first used, so the sizes set before that cost nothing. A copy of Image() a caller
// keeps never changes: a write to a block that such a copy still shows clones the block first.
class PageBitmap {
 public:
  static constexpr quint32 kWhite = 0xffffffffu;

  PageBitmap(int width, int height);

  int Width() const { return size_.width(); }
  int Height() const { return size_.height(); }
  QRect Rect() const { return QRect(QPoint(0, 0), size_); }
  // The page's pixels as Format_RGB32.
  const QImage& Image() const;
  // The pixel at (x, y), which must lie on the page.
  quint32 Pixel(int x, int y) const { return block_ ? Row(y)[x] : kWhite; }
  const quint32* Row(int y) const {
    Allocate();
    return block_->pixels.get() + qsizetype(y) * block_->width;
  }
  // Pixels from one row to the next.
  qsizetype RowPixels() const {
    Allocate();
    return block_->width;
  }
  // Every pixel that can differ from white lies in this rectangle.
  QRect Inked() const;
  // Whether every pixel of `rect` (on the page) is known to be white.
  bool IsWhite(const QRect& rect) const;
  // Where the ink of the first `end` pixels of `row` ends: after its last pixel not white.
  static int InkEnd(const quint32* row, int end);

  // What a write leaves in its rectangle: any colour, or white only.
  enum class Ink { Any, None };
  // Makes the pixels this page's own to write and notes `rect` (on the page) as written;
  // returns the first row. Rows follow RowPixels() apart.
  quint32* BeginWrite(const QRect& rect, Ink ink = Ink::Any);
  // The same for painting with QPainter on the returned image.
  QImage& BeginPaint(const QRect& rect);
  // Makes `rect` (on the page) white, writing only where its rows may hold ink.
  void Whiten(const QRect& rect);
  // Copies `from` to `to` as if the source were read completely first; both lie on the page.
  void Move(const QRect& from, QPoint to);
  void Clear();
  // Replaces the page by `rows`, cut to the page, white past them: each row is written once,
  // into a fresh block while a caller still holds the old one.
  void Load(const PictureRows& rows);
  // New size, at least 1 x 1; what lies inside both sizes is kept, new parts are white.
  void Resize(QSize size);
  // The parts of the page outside `size` that may hold ink: what a resize to `size` drops.
  std::array<QRect, 2> InkOutside(QSize size) const;

 private:
  struct Block {
    // White, or with its pixels left for the caller to write when `white` is false.
    Block(int width, int height, bool white = true);
    const int width;
    const int height;
    const std::unique_ptr<quint32[]> pixels;
  };

  void Allocate() const {
    if (!block_) AllocateBlock();
  }
  void AllocateBlock() const;
  // A fresh view of the page's size over the block; the view holds the block alive.
  void MakeView() const;
  // Whether a copy of Image() a caller holds still shows the block.
  bool Shared() const;
  // Makes the block this bitmap's own to write: cloned while it is shared, only the ink of each
  // row copied.
  void MakeOwn();
  // Whitens row y from x on to where its ink ends, or only up to column `to`; the row's ink then
  // ends at x unless some lies past `to`.
  void WhitenRow(int y, int x, int to = std::numeric_limits<int>::max());

  QSize size_;
  // Allocated on first use, also from the const readers.
  mutable std::shared_ptr<Block> block_;
  mutable QImage view_;
  // For each row of the page, where its ink ends: every pixel from there on is white. Writes
  // move it right, white fills and moves of blank paper move it left.
  std::vector<int> inkEnd_;
};

}  // namespace tarvesh::page
