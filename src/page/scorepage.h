#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QString>
#include <functional>

namespace tarvesh::page {

// The page bitmap the score is typed onto, with the insertion cursor and the text settings of
// the page. All positions are page pixels. Every operation clips at the page's edges: a copy
// that reaches past the right or bottom edge simply draws less.
class ScorePage {
 public:
  // The colour a read outside the page returns; never 0, so never black.
  static constexpr int kInvalidColour = -1;

  ScorePage(int width = 988, int height = 1397);

  int Width() const { return image_.width(); }
  int Height() const { return image_.height(); }
  // New size; what lies inside both the old and the new size is kept, new parts are white.
  void Resize(int width, int height);

  const QImage& Image() const { return image_; }
  // Replaces the whole bitmap by `image` drawn from the top-left corner on white.
  void LoadImage(const QImage& image);
  // Everything white.
  void Clear();

  // Copies the rectangle (sx, sy, w, h) of `source` to the page at (dx, dy), pixel for pixel.
  void CopyCell(const QImage& source, int sx, int sy, int w, int h, int dx, int dy);
  // Copies a rectangle of the page to another place on the page as if the source were read
  // completely first. Source pixels outside the page are not copied, so the matching
  // destination pixels keep their old colour.
  void MoveStrip(int sx, int sy, int w, int h, int dx, int dy);
  // Colour of one pixel as 0x00BBGGRR (black reads 0), kInvalidColour outside the page.
  int ReadPixel(int x, int y) const;
  bool IsBlack(int x, int y) const { return ReadPixel(x, y) == 0; }
  // The engine's clear block: a white block 20 x 40 at (x, y).
  void ClearBlock(int x, int y);
  void FillRect(const QRect& rect, const QColor& colour);
  // Copies `sourceRect` of `source` onto `target` of the page, stretched with nearest-neighbour
  // sampling and opaque (white source pixels replace the page).
  void StretchCopy(const QImage& source, const QRect& sourceRect, const QRect& target);

  // Text output: the text position is the top-left corner of the next character cell; drawing
  // leaves it after the text on the same text line.
  void SetFont(double pointSize, bool bold);
  double FontPointSize() const { return fontPointSize_; }
  bool FontBold() const { return fontBold_; }
  void SetForeColour(const QColor& colour) { foreColour_ = colour; }
  QColor ForeColour() const { return foreColour_; }
  void SetTextPosition(QPointF position) { textPosition_ = position; }
  QPointF TextPosition() const { return textPosition_; }
  void DrawText(const QString& text);
  // Width in pixels of `text` in the page's current font.
  int TextWidth(const QString& text) const;

  // The insertion cursor: top-left corner of the cell where the next glyph goes. Held as
  // single-precision numbers, whole in practice.
  float CursorLeft() const { return cursorLeft_; }
  float CursorTop() const { return cursorTop_; }
  void SetCursor(float left, float top);
  void SetCursorLeft(float left) { SetCursor(left, cursorTop_); }
  void SetCursorTop(float top) { SetCursor(cursorLeft_, top); }

  // Told what changed, so a view repaints only that.
  std::function<void(const QRect&)> onChanged;
  std::function<void()> onCursorMoved;
  std::function<void()> onResized;

 private:
  void Changed(const QRect& rect);
  // The bitmap's bits for writing, detached once per operation: rows are then found by plain
  // arithmetic, where QImage::scanLine would check for sharing again on every row.
  uchar* WritableBits() { return image_.bits(); }
  qsizetype Stride() const { return image_.bytesPerLine(); }

  QImage image_;
  double fontPointSize_ = 18;
  bool fontBold_ = true;
  QColor foreColour_{0, 0, 0};
  QPointF textPosition_;
  float cursorLeft_ = 20;
  float cursorTop_ = 96;
};

}  // namespace tarvesh::page
