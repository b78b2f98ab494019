#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QString>
#include <functional>
#include <optional>

#include "page/pagebitmap.h"
#include "page/pageedit.h"
#include "page/pageoperation.h"
#include "page/pagestate.h"
#include "page/picturerows.h"

namespace tarvesh::page {

// The page bitmap the score is typed onto, with the insertion cursor and the text settings of
// the page. All positions are page pixels. Every operation clips at the page's edges: a copy
// that reaches past the right or bottom edge simply draws less.
//
// Between BeginEdit and EndEdit every write keeps what it overwrites in the open edit, so the
// edit can be reverted and reapplied; with no edit open nothing is kept. Every write is also
// reported to onOperation, as asked and with its source, so another page can repeat it.
class ScorePage {
 public:
  // The colour a read outside the page returns; never 0, so never black.
  static constexpr int kInvalidColour = -1;

  // The pixels are allocated when first used, so a page resized before that is allocated once.
  ScorePage(int width = 988, int height = 1397);

  int Width() const { return bitmap_.Width(); }
  int Height() const { return bitmap_.Height(); }
  // New size; what lies inside both the old and the new size is kept, new parts are white. A
  // page that narrows and widens again within its first size allocates nothing.
  void Resize(int width, int height);

  // The page's pixels. A copy of it taken by a caller keeps showing them as they were.
  const QImage& Image() const { return bitmap_.Image(); }
  // Replaces the whole bitmap by `image` drawn from the top-left corner on white.
  void LoadImage(const QImage& image);
  // The same for a picture read a row at a time; `picture`, when given, is the picture the rows
  // are of, for those who repeat the load (else they are told the page as loaded).
  void LoadRows(const PictureRows& rows, const QImage* picture = nullptr);
  // Everything white.
  void Clear();

  // Copies the rectangle (sx, sy, w, h) of `source` to the page at (dx, dy), pixel for pixel;
  // `from` names the picture for those who repeat the copy.
  void CopyCell(const QImage& source, int sx, int sy, int w, int h, int dx, int dy,
                PictureSource from = PictureSource::Unnamed);
  // Copies a rectangle of the page to another place on the page as if the source were read
  // completely first. Source pixels outside the page are not copied, so the matching
  // destination pixels keep their old colour.
  void MoveStrip(int sx, int sy, int w, int h, int dx, int dy);
  // Colour of one pixel as 0x00BBGGRR (black reads 0), kInvalidColour outside the page.
  int ReadPixel(int x, int y) const;
  bool IsBlack(int x, int y) const { return ReadPixel(x, y) == 0; }
  // The engine's clear block: a white block kClearBlockWidth x kCellHeight at (x, y).
  void ClearBlock(int x, int y);
  void FillRect(const QRect& rect, const QColor& colour);
  // Copies `sourceRect` of `source` onto `target` of the page, stretched with nearest-neighbour
  // sampling and opaque (white source pixels replace the page).
  void StretchCopy(const QImage& source, const QRect& sourceRect, const QRect& target,
                   PictureSource from = PictureSource::Unnamed);

  // Text output: the text position is the top-left corner of the next character cell; drawing
  // leaves it after the text on the same text line.
  void SetFont(double pointSize, bool bold);
  double FontPointSize() const { return state_.fontPointSize; }
  bool FontBold() const { return state_.fontBold; }
  void SetForeColour(const QColor& colour) { state_.foreColour = colour; }
  QColor ForeColour() const { return state_.foreColour; }
  void SetTextPosition(QPointF position) { state_.textPosition = position; }
  QPointF TextPosition() const { return state_.textPosition; }
  void DrawText(const QString& text);
  // Width in pixels of `text` in the page's current font.
  int TextWidth(const QString& text) const;

  // The insertion cursor: top-left corner of the cell where the next glyph goes. Held as
  // single-precision numbers, whole in practice.
  float CursorLeft() const { return state_.cursorLeft; }
  float CursorTop() const { return state_.cursorTop; }
  void SetCursor(float left, float top);
  void SetCursorLeft(float left) { SetCursor(left, state_.cursorTop); }
  void SetCursorTop(float top) { SetCursor(state_.cursorLeft, top); }

  // Opens an edit. Edits nest: an inner pair belongs to the outermost edit, whose EndEdit
  // returns everything; an inner EndEdit returns an empty edit.
  void BeginEdit();
  PageEdit EndEdit();
  bool IsEditing() const { return editDepth_ > 0; }
  // Takes `edit` back, or puts it back after that. Edits are reverted in the reverse order of
  // their recording and reapplied in their order, as an undo stack does. Both refuse, changing
  // nothing, while an edit is open, when the edit is already in that state, or when the page is
  // not of the size the edit expects.
  bool Revert(PageEdit& edit);
  bool Reapply(PageEdit& edit);
  // Whether `edit`, the edit just ended, left the page other than it found it: resized, or a
  // pixel changed (a paste of white onto white wrote the page but changed nothing).
  bool ChangedBy(PageEdit& edit);

  // Told what changed, so a view repaints only that.
  std::function<void(const QRect&)> onChanged;
  std::function<void()> onCursorMoved;
  std::function<void()> onResized;
  // Told of every write with what it wrote; see PageOperation.
  std::function<void(const PageOperation&)> onOperation;

 private:
  // Keeps what lies under `rect` (on the page) in the open edit, if any.
  void Keep(const QRect& rect) {
    if (edit_) edit_->KeepPixels(bitmap_, rect);
  }
  void Publish(const PageOperation& operation) {
    if (onOperation) onOperation(operation);
  }
  void CopyPixels(const QImage& rgb, const QRect& src, QPoint to);
  // Sets the cursor and pen, telling of a cursor move.
  void SetState(const PageState& state);
  bool Run(PageEdit& edit, bool backwards);
  void Changed(const QRect& rect);

  PageBitmap bitmap_;
  PageState state_;
  std::optional<PageEdit> edit_;
  int editDepth_ = 0;
};

}  // namespace tarvesh::page
