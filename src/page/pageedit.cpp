#include "page/pageedit.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace tarvesh::page {

namespace {

// The parts of `to` outside `from`, two rectangles of one size: the rows of `to` that `from`
// does not reach, and in the other rows the columns it does not reach. Either may be empty.
std::array<QRect, 2> Uncovered(const QRect& from, const QRect& to) {
  if (!from.intersects(to)) return {to, QRect()};
  const int dx = to.x() - from.x();
  const int dy = to.y() - from.y();
  const int sharedTop = std::max(from.y(), to.y());
  const int sharedRows = to.height() - std::abs(dy);
  QRect rows;
  if (dy != 0) rows = QRect(to.x(), dy > 0 ? from.bottom() + 1 : to.y(), to.width(), std::abs(dy));
  QRect columns;
  if (dx != 0)
    columns = QRect(dx > 0 ? from.right() + 1 : to.x(), sharedTop, std::abs(dx), sharedRows);
  return {rows, columns};
}

}  // namespace

bool PageEdit::IsEmpty() const {
  return patches_.empty() && stateBefore_ == stateAfter_ && sizeBefore_ == sizeAfter_;
}

void PageEdit::KeepPixels(const PageBitmap& bitmap, const QRect& rect) {
  if (rect.isEmpty()) return;
  bounds_ |= rect;
  // What lay under a write is most often blank paper: a rectangle of one colour is kept as
  // that colour, and its pixels are kept only when the edit is first reverted.
  const quint32 colour = bitmap.Pixel(rect.x(), rect.y());
  bool oneColour = true;
  for (int y = rect.top(); oneColour && y <= rect.bottom(); ++y) {
    const quint32* row = bitmap.Row(y) + rect.x();
    oneColour = std::all_of(row, row + rect.width(), [colour](quint32 p) { return p == colour; });
  }
  if (oneColour) {
    patches_.push_back({Patch::Kind::OneColour, rect, {}, {}, 0, colour});
  } else {
    patches_.push_back({Patch::Kind::Pixels, rect, {}, {}, Store(bitmap, rect), 0});
  }
}

size_t PageEdit::Store(const PageBitmap& bitmap, const QRect& rect) {
  const size_t offset = pixels_.size();
  pixels_.resize(offset + size_t(rect.width()) * size_t(rect.height()));
  quint32* to = pixels_.data() + offset;
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    const quint32* from = bitmap.Row(y) + rect.x();
    to = std::copy(from, from + rect.width(), to);
  }
  return offset;
}

void PageEdit::KeepMove(const PageBitmap& bitmap, const QRect& from, QPoint to) {
  const QRect target(to, from.size());
  for (const QRect& part : Uncovered(from, target)) KeepPixels(bitmap, part);
  patches_.push_back({Patch::Kind::Move, from, to, {}, 0, 0});
  bounds_ |= target;
}

void PageEdit::KeepResize(const PageBitmap& bitmap, QSize size) {
  for (const QRect& ink : bitmap.InkOutside(size)) KeepPixels(bitmap, ink);
  patches_.push_back({Patch::Kind::Resize, bitmap.Rect(), {}, size, 0, 0});
}

void PageEdit::Run(PageBitmap& bitmap, bool backwards) {
  const auto run = [&](Patch& patch) {
    switch (patch.kind) {
      case Patch::Kind::OneColour:
        // From now on the patch swaps what the page shows, like any other.
        patch.offset = Store(bitmap, patch.rect);
        patch.kind = Patch::Kind::Pixels;
        Fill(bitmap, patch.rect, patch.colour);
        break;
      case Patch::Kind::Pixels:
        SwapPixels(bitmap, patch);
        break;
      case Patch::Kind::Move:
        if (backwards) {
          bitmap.Move(QRect(patch.to, patch.rect.size()), patch.rect.topLeft());
        } else {
          bitmap.Move(patch.rect, patch.to);
        }
        break;
      case Patch::Kind::Resize:
        bitmap.Resize(backwards ? patch.rect.size() : patch.size);
        break;
    }
  };
  if (backwards) {
    std::for_each(patches_.rbegin(), patches_.rend(), run);
  } else {
    std::for_each(patches_.begin(), patches_.end(), run);
  }
  reverted_ = backwards;
}

void PageEdit::Fill(PageBitmap& bitmap, const QRect& rect, quint32 colour) {
  quint32* const bits = bitmap.BeginWrite(rect);
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    quint32* row = bits + qsizetype(y) * bitmap.RowPixels() + rect.x();
    std::fill(row, row + rect.width(), colour);
  }
}

void PageEdit::SwapPixels(PageBitmap& bitmap, const Patch& patch) {
  const QRect& rect = patch.rect;
  quint32* const bits = bitmap.BeginWrite(rect);
  quint32* kept = pixels_.data() + patch.offset;
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    quint32* row = bits + qsizetype(y) * bitmap.RowPixels() + rect.x();
    kept = std::swap_ranges(row, row + rect.width(), kept);
  }
}

}  // namespace tarvesh::page
