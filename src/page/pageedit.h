#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstddef>
#include <vector>

#include "page/pagebitmap.h"
#include "page/pagestate.h"

namespace tarvesh::page {

// What one edit of a page changed, kept so the edit can be taken back and put back exactly:
// the pixels each write overwrote (one colour where that is all they were), strip moves as the
// moves themselves (a move is undone by moving back, so only what it overwrote outside its own
// source is kept), the sizes, and the cursor and text pen before and after. It costs the rectangles
// the edit wrote, never the page. ScorePage records and applies it (BeginEdit, EndEdit, Revert,
// Reapply). Reverting swaps the kept pixels with the page's, so the same patches serve to reapply.
class PageEdit {
 public:
  // Nothing written, nothing resized, cursor and pen as they were.
  bool IsEmpty() const;
  bool IsReverted() const { return reverted_; }
  // Every page pixel the edit wrote lies in this rectangle.
  QRect Bounds() const { return bounds_; }
  // Memory the kept pixels take.
  size_t PixelBytes() const { return pixels_.size() * sizeof(quint32); }

 private:
  friend class ScorePage;

  struct Patch {
    enum class Kind { Pixels, OneColour, Move, Resize };
    Kind kind;
    // Pixels, OneColour: the rectangle kept. Move: the source. Resize: the old page.
    QRect rect;
    // Move: where the source went.
    QPoint to;
    // Resize: the new size.
    QSize size;
    // Pixels: where the rectangle's pixels start in pixels_, row after row.
    size_t offset = 0;
    // OneColour: the colour of every pixel of the rectangle.
    quint32 colour = 0;
  };

  // Recording, called before the page writes.
  void KeepPixels(const PageBitmap& bitmap, const QRect& rect);
  void KeepMove(const PageBitmap& bitmap, const QRect& from, QPoint to);
  void KeepResize(const PageBitmap& bitmap, QSize size);
  // Runs the patches backwards (revert) or forwards (reapply).
  void Run(PageBitmap& bitmap, bool backwards);
  // Appends the pixels of `rect` to pixels_; returns where they start.
  size_t Store(const PageBitmap& bitmap, const QRect& rect);
  static void Fill(PageBitmap& bitmap, const QRect& rect, quint32 colour);
  void SwapPixels(PageBitmap& bitmap, const Patch& patch);

  std::vector<Patch> patches_;
  std::vector<quint32> pixels_;
  QRect bounds_;
  PageState stateBefore_;
  PageState stateAfter_;
  QSize sizeBefore_;
  QSize sizeAfter_;
  bool reverted_ = false;
};

}  // namespace tarvesh::page
