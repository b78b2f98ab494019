#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QVarLengthArray>
#include <cstddef>
#include <memory>
#include <optional>

#include "page/pagebitmap.h"
#include "page/pagestate.h"

namespace tarvesh::page {

// What one edit of a page changed, kept so the edit can be taken back and put back exactly:
// the pixels each write overwrote (nothing for blank paper, nor where reverting an earlier move
// puts them back), strip moves as the moves themselves (a move is undone by moving back, so
// only what it overwrote outside its own source is kept), the sizes, and the cursor and text
// pen before and after. It costs the rectangles the edit wrote, never the page. ScorePage
// records and applies it (BeginEdit, EndEdit, Revert, Reapply). Reverting swaps the kept pixels
// with the page's, so the same patches serve to reapply.
class PageEdit {
 public:
  // Nothing written, nothing resized, cursor and pen as they were.
  bool IsEmpty() const;
  // Wrote or resized the page; an edit that only moved the cursor or the pen did not.
  bool WritesPage() const;
  // Left the cursor or the pen elsewhere than it found them.
  bool MovesCursorOrPen() const { return stateBefore_ != stateAfter_; }
  bool IsReverted() const { return reverted_; }
  // Every page pixel the edit wrote lies in this rectangle.
  QRect Bounds() const { return bounds_; }
  // Bytes of the pixels kept.
  size_t PixelBytes() const { return pixelCount_ * sizeof(quint32); }

 private:
  friend class ScorePage;

  struct Patch {
    // Blank: a rectangle that was white. MovedBack: a rectangle whose old pixels need not be
    // kept, as reverting a move recorded before writes all of it and nothing in between reads
    // or writes it: the cell an insert-mode push makes room for. The first revert keeps what
    // either shows and turns it into Pixels.
    enum class Kind { Pixels, Blank, MovedBack, Move, Resize };
    Kind kind;
    // Pixels, Blank, MovedBack: the rectangle kept. Move: the source. Resize: the old page.
    QRect rect;
    // Move: where the source went.
    QPoint to;
    // Resize: the new size.
    QSize size;
    // Pixels: where the rectangle's pixels start in pixels_, row after row.
    size_t offset = 0;
  };

  // Recording, called before the page writes.
  void KeepPixels(const PageBitmap& bitmap, const QRect& rect);
  void KeepMove(const PageBitmap& bitmap, const QRect& from, QPoint to);
  void KeepResize(const PageBitmap& bitmap, QSize size);
  // Whether reverting a recorded move writes all of `rect` before anything reads it.
  bool IsMovedBack(const QRect& rect) const;
  // Whether the page shows, everywhere the edit wrote, what the edit found there, told from the
  // kept pixels without running the edit; nothing for an edit that moved or resized, or that
  // stands reverted.
  std::optional<bool> LeftAsFound(const PageBitmap& bitmap) const;
  // Runs the patches backwards (revert) or forwards (reapply).
  void Run(PageBitmap& bitmap, bool backwards);
  // Appends the pixels of `rect` to pixels_; returns where they start.
  size_t Store(const PageBitmap& bitmap, const QRect& rect);
  // Room for `count` more pixels at the end of pixels_, which is returned.
  quint32* Grow(size_t count);
  static void Whiten(PageBitmap& bitmap, const QRect& rect);
  void SwapPixels(PageBitmap& bitmap, const Patch& patch);

  // A keystroke's few patches live inside the edit, without an allocation of their own.
  QVarLengthArray<Patch, 6> patches_;
  // Kept pixels, row after row; left uninitialised where not yet written.
  std::unique_ptr<quint32[]> pixels_;
  size_t pixelCount_ = 0;
  size_t pixelCapacity_ = 0;
  QRect bounds_;
  PageState stateBefore_;
  PageState stateAfter_;
  QSize sizeBefore_;
  QSize sizeAfter_;
  bool reverted_ = false;
};

}  // namespace tarvesh::page
