#include "page/pageedit.h"

#include <QRegion>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

#include "page/geometry.h"
#include "page/rowcopy.h"

namespace tarvesh::page {

namespace {

// Pixels an edit makes room for when it first keeps any: what a keystroke pushing notes off a
// full line keeps, in one allocation.
constexpr size_t kPixelsReserved = 1024;

// Rectangle tests on the few patches of an edit, kept inline.
inline bool Overlap(const QRect& a, const QRect& b) {
  return a.left() <= b.right() && b.left() <= a.right() && a.top() <= b.bottom() &&
         b.top() <= a.bottom();
}

inline bool Within(const QRect& inner, const QRect& outer) {
  return inner.left() >= outer.left() && inner.right() <= outer.right() &&
         inner.top() >= outer.top() && inner.bottom() <= outer.bottom();
}

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
  return !WritesPage() && !MovesCursorOrPen();
}

bool PageEdit::WritesPage() const {
  return !patches_.empty() || sizeBefore_ != sizeAfter_;
}

void PageEdit::KeepPixels(const PageBitmap& bitmap, const QRect& rect) {
  if (rect.isEmpty()) return;
  bounds_ |= rect;
  if (IsMovedBack(rect)) {
    patches_.push_back({Patch::Kind::MovedBack, rect, {}, {}, 0});
  } else if (bitmap.IsWhite(rect)) {
    // What lies under a write is most often blank paper, which the bitmap knows without
    // reading it.
    patches_.push_back({Patch::Kind::Blank, rect, {}, {}, 0});
  } else {
    patches_.push_back({Patch::Kind::Pixels, rect, {}, {}, Store(bitmap, rect)});
  }
}

bool PageEdit::IsMovedBack(const QRect& rect) const {
  for (auto patch = patches_.rbegin(); patch != patches_.rend(); ++patch) {
    switch (patch->kind) {
      case Patch::Kind::Move: {
        const QRect to(patch->to, patch->rect.size());
        if (Within(rect, patch->rect) && !Overlap(to, rect)) return true;
        if (Overlap(patch->rect, rect) || Overlap(to, rect)) return false;
        break;
      }
      case Patch::Kind::Resize:
        return false;
      default:
        if (Overlap(patch->rect, rect)) return false;
    }
  }
  return false;
}

size_t PageEdit::Store(const PageBitmap& bitmap, const QRect& rect) {
  const size_t offset = pixelCount_;
  quint32* const to = Grow(size_t(rect.width()) * size_t(rect.height()));
  CopyRows(bitmap.Row(rect.y()) + rect.x(), bitmap.RowPixels(), rect.width(), rect.height(), to,
           rect.width());
  return offset;
}

quint32* PageEdit::Grow(size_t count) {
  const size_t needed = pixelCount_ + count;
  if (needed > pixelCapacity_) {
    const size_t capacity = std::max({needed, 2 * pixelCapacity_, kPixelsReserved});
    std::unique_ptr<quint32[]> grown(new quint32[capacity]);
    std::copy_n(pixels_.get(), pixelCount_, grown.get());
    pixels_ = std::move(grown);
    pixelCapacity_ = capacity;
  }
  quint32* const at = pixels_.get() + pixelCount_;
  pixelCount_ = needed;
  return at;
}

void PageEdit::KeepMove(const PageBitmap& bitmap, const QRect& from, QPoint to) {
  const QRect target(to, from.size());
  for (const QRect& part : Uncovered(from, target)) KeepPixels(bitmap, part);
  patches_.push_back({Patch::Kind::Move, from, to, {}, 0});
  bounds_ |= target;
}

void PageEdit::KeepResize(const PageBitmap& bitmap, QSize size) {
  for (const QRect& ink : bitmap.InkOutside(size)) KeepPixels(bitmap, ink);
  patches_.push_back({Patch::Kind::Resize, bitmap.Rect(), {}, size, 0});
}

std::optional<bool> PageEdit::LeftAsFound(const PageBitmap& bitmap) const {
  // Each pixel is held against the first patch that wrote over it: what that patch kept is what
  // the edit found there. Later patches kept what earlier writes left.
  const bool onlyWrote = std::all_of(patches_.begin(), patches_.end(), [](const Patch& patch) {
    return patch.kind == Patch::Kind::Pixels || patch.kind == Patch::Kind::Blank;
  });
  if (reverted_ || !onlyWrote) return std::nullopt;
  QRegion written;
  for (const Patch& patch : patches_) {
    for (const QRect& part : QRegion(patch.rect).subtracted(written)) {
      for (int y = part.top(); y <= part.bottom(); ++y) {
        const quint32* row = bitmap.Row(y) + part.x();
        if (patch.kind == Patch::Kind::Blank) {
          if (!std::all_of(row, row + part.width(),
                           [](quint32 pixel) { return pixel == PageBitmap::kWhite; }))
            return false;
        } else {
          const quint32* kept = pixels_.get() + patch.offset +
                                size_t(y - patch.rect.y()) * size_t(patch.rect.width()) +
                                size_t(part.x() - patch.rect.x());
          if (!std::equal(row, row + part.width(), kept)) return false;
        }
      }
    }
    written += patch.rect;
  }
  return true;
}

void PageEdit::Run(PageBitmap& bitmap, bool backwards) {
  const auto run = [&](Patch& patch) {
    switch (patch.kind) {
      case Patch::Kind::Blank:
      case Patch::Kind::MovedBack:
        // The first run is a revert: it keeps what the page shows for reapplying, and from
        // then on the patch swaps like any other. A move reverted later writes the old pixels
        // of a moved-back rectangle.
        patch.offset = Store(bitmap, patch.rect);
        if (patch.kind == Patch::Kind::Blank) Whiten(bitmap, patch.rect);
        patch.kind = Patch::Kind::Pixels;
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

void PageEdit::Whiten(PageBitmap& bitmap, const QRect& rect) {
  quint32* const bits = bitmap.BeginWrite(rect, PageBitmap::Ink::None);
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    quint32* row = bits + qsizetype(y) * bitmap.RowPixels() + rect.x();
    std::fill(row, row + rect.width(), PageBitmap::kWhite);
  }
}

void PageEdit::SwapPixels(PageBitmap& bitmap, const Patch& patch) {
  const QRect& rect = patch.rect;
  quint32* const bits = bitmap.BeginWrite(rect);
  quint32* kept = pixels_.get() + patch.offset;
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    quint32* row = bits + qsizetype(y) * bitmap.RowPixels() + rect.x();
    kept = std::swap_ranges(row, row + rect.width(), kept);
  }
}

}  // namespace tarvesh::page
