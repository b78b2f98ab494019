#include "page/pagebitmap.h"

#include <algorithm>
#include <cstring>

namespace tarvesh::page {

namespace {

void ReleaseBlock(void* holder) {
  delete static_cast<std::shared_ptr<void>*>(holder);
}

}  // namespace

PageBitmap::Block::Block(int width, int height, bool white)
    : width(width), height(height), pixels(new quint32[size_t(width) * size_t(height)]) {
  if (white) std::memset(pixels.get(), 0xff, size_t(width) * size_t(height) * sizeof(quint32));
}

PageBitmap::PageBitmap(int width, int height)
    : size_(std::max(width, 1), std::max(height, 1)), inkEnd_(size_t(size_.height()), 0) {}

const QImage& PageBitmap::Image() const {
  Allocate();
  return view_;
}

void PageBitmap::AllocateBlock() const {
  block_ = std::make_shared<Block>(size_.width(), size_.height());
  MakeView();
}

void PageBitmap::MakeView() const {
  view_ = QImage(reinterpret_cast<uchar*>(block_->pixels.get()), size_.width(), size_.height(),
                 qsizetype(block_->width) * 4, QImage::Format_RGB32, ReleaseBlock,
                 new std::shared_ptr<void>(block_));
}

bool PageBitmap::Shared() const {
  // One owner is this bitmap and one its view; any other is a view a caller still holds, or a
  // copy of the current view (which shares the view itself).
  return block_ && (!view_.isDetached() || block_.use_count() != 2);
}

void PageBitmap::MakeOwn() {
  Allocate();
  if (Shared()) {
    // Every pixel outside the page and past a row's ink is white: only the ink is copied.
    const int width = block_->width;
    auto own = std::make_shared<Block>(width, block_->height, false);
    for (int y = 0; y < block_->height; ++y) {
      const int end = y < Height() ? inkEnd_[size_t(y)] : 0;
      const quint32* from = block_->pixels.get() + qsizetype(y) * width;
      quint32* to = own->pixels.get() + qsizetype(y) * width;
      std::memcpy(to, from, size_t(end) * sizeof(quint32));
      std::memset(to + end, 0xff, size_t(width - end) * sizeof(quint32));
    }
    block_ = std::move(own);
    MakeView();
  }
  // The view is not shared now, so this only renews its cache key: a cached pixmap of the old
  // pixels is never taken for the new ones.
  view_.detach();
}

QRect PageBitmap::Inked() const {
  QRect inked;
  for (int y = 0; y < Height(); ++y)
    if (inkEnd_[size_t(y)] > 0) inked |= QRect(0, y, inkEnd_[size_t(y)], 1);
  return inked;
}

bool PageBitmap::IsWhite(const QRect& rect) const {
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    if (inkEnd_[size_t(y)] > rect.x()) return false;
  return true;
}

int PageBitmap::InkEnd(const quint32* row, int end) {
  // Blank paper is passed over a run of pixels at a time: the run's AND is white only when every
  // pixel of it is.
  constexpr int kRun = 16;
  while (end >= kRun) {
    quint32 all = kWhite;
    for (int x = end - kRun; x < end; ++x) all &= row[x];
    if (all != kWhite) break;
    end -= kRun;
  }
  while (end > 0 && row[end - 1] == kWhite) --end;
  return end;
}

quint32* PageBitmap::BeginWrite(const QRect& rect, Ink ink) {
  MakeOwn();
  const int left = rect.x();
  const int right = rect.right() + 1;
  int* const ends = inkEnd_.data();
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    int& end = ends[y];
    if (ink == Ink::Any) {
      end = std::max(end, right);
    } else if (end <= right) {
      end = std::min(end, left);
    }
  }
  return block_->pixels.get();
}

QImage& PageBitmap::BeginPaint(const QRect& rect) {
  BeginWrite(rect);
  return view_;
}

void PageBitmap::Move(const QRect& from, QPoint to) {
  const QRect dst(to, from.size());
  MakeOwn();
  quint32* const bits = block_->pixels.get();
  const qsizetype stride = block_->width;
  int* const ends = inkEnd_.data();
  // Rows are walked away from the destination so no source row, nor where its ink ends, is
  // overwritten before it is read; memmove handles the overlap inside a row. Past its ink the
  // source is white, so only its ink is moved, and the destination whitened only where it had
  // ink: blank paper pushed along costs nothing.
  // The rectangles' edges are read once: every row's memmove could otherwise have changed them.
  const int fromX = from.x();
  const int fromEnd = from.right() + 1;
  const int fromY = from.y();
  const int dstX = dst.x();
  const int dstEnd = dst.right() + 1;
  const int dstY = dst.y();
  auto moveRow = [=](int row) {
    const int sourceY = fromY + row;
    const int y = dstY + row;
    const int movedInk = std::min(ends[sourceY], fromEnd) - fromX;
    int& end = ends[y];
    quint32* const line = bits + y * stride;
    if (movedInk > 0)
      std::memmove(line + dstX, bits + sourceY * stride + fromX,
                   size_t(movedInk) * sizeof(quint32));
    const int whiteFrom = dstX + std::max(movedInk, 0);
    const int whiteTo = std::min(dstEnd, end);
    if (whiteTo > whiteFrom)
      std::memset(line + whiteFrom, 0xff, size_t(whiteTo - whiteFrom) * sizeof(quint32));
    // Ink beyond the destination stays; otherwise the row's ink ends with the moved ink, or
    // where the destination starts when the source was blank.
    if (end <= dstEnd)
      end = movedInk > 0 ? std::max(std::min(end, dstX), dstX + movedInk) : std::min(end, dstX);
  };
  if (dst.y() > from.y()) {
    for (int row = dst.height() - 1; row >= 0; --row) moveRow(row);
  } else {
    for (int row = 0; row < dst.height(); ++row) moveRow(row);
  }
}

void PageBitmap::Whiten(const QRect& rect) {
  const int left = rect.x();
  const int right = rect.right() + 1;
  bool own = false;
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    if (inkEnd_[size_t(y)] <= left) continue;
    if (!own) {
      MakeOwn();
      own = true;
    }
    WhitenRow(y, left, right);
  }
}

void PageBitmap::WhitenRow(int y, int x, int to) {
  int& end = inkEnd_[size_t(y)];
  if (end <= x) return;
  std::memset(block_->pixels.get() + qsizetype(y) * block_->width + x, 0xff,
              size_t(std::min(end, to) - x) * sizeof(quint32));
  if (end <= to) end = x;
}

void PageBitmap::Clear() {
  if (Inked().isEmpty()) return;
  if (Shared()) {
    // A fresh white block, rather than a copy of ink only to whiten it.
    block_ = std::make_shared<Block>(block_->width, block_->height);
    MakeView();
    std::fill(inkEnd_.begin(), inkEnd_.end(), 0);
    return;
  }
  MakeOwn();
  for (int y = 0; y < Height(); ++y) WhitenRow(y, 0);
}

void PageBitmap::Load(const PictureRows& rows) {
  const QRect drawn = QRect(QPoint(0, 0), rows.Size()) & Rect();
  const bool fresh = !block_ || Shared();
  if (fresh) {
    block_ = std::make_shared<Block>(size_.width(), size_.height(), false);
    MakeView();
  }
  const int width = block_->width;
  for (int y = 0; y < Height(); ++y) {
    quint32* const row = block_->pixels.get() + qsizetype(y) * width;
    const int end = y <= drawn.bottom() ? std::clamp(rows.InkEnd(y), 0, drawn.width()) : 0;
    if (end > 0) rows.Read(y, end, row);
    // Past the ink a fresh row is whitened whole; a kept one only as far as its old ink went.
    const int whiteTo = fresh ? width : inkEnd_[size_t(y)];
    if (whiteTo > end) std::memset(row + end, 0xff, size_t(whiteTo - end) * sizeof(quint32));
    inkEnd_[size_t(y)] = end;
  }
}

std::array<QRect, 2> PageBitmap::InkOutside(QSize size) const {
  QRect right;
  QRect below;
  for (int y = 0; y < Height(); ++y) {
    const int end = inkEnd_[size_t(y)];
    if (end > size.width()) right |= QRect(size.width(), y, end - size.width(), 1);
    if (y >= size.height() && end > 0) below |= QRect(0, y, std::min(end, size.width()), 1);
  }
  return {right, below & Rect()};
}

void PageBitmap::Resize(QSize size) {
  size = size.expandedTo(QSize(1, 1));
  if (size == size_) return;
  if (block_) {
    // The block is kept while it is at most twice what the page would allocate afresh, so a
    // page made much smaller gives its memory back.
    const bool fits =
        size.width() <= block_->width && size.height() <= block_->height &&
        2 * qint64(size.width()) * size.height() >= qint64(block_->width) * block_->height;
    if (fits) {
      const auto [right, below] = InkOutside(size);
      if (!right.isEmpty() || !below.isEmpty()) {
        MakeOwn();
        for (int y = 0; y < Height(); ++y) WhitenRow(y, y < size.height() ? size.width() : 0);
      }
    } else {
      const QRect kept = QRect(QPoint(0, 0), size) & Rect();
      auto fresh = std::make_shared<Block>(size.width(), size.height());
      for (int y = 0; y < kept.height(); ++y) {
        std::memcpy(fresh->pixels.get() + qsizetype(y) * fresh->width, Row(y),
                    size_t(kept.width()) * sizeof(quint32));
        inkEnd_[size_t(y)] = std::min(inkEnd_[size_t(y)], kept.width());
      }
      block_ = std::move(fresh);
    }
  }
  inkEnd_.resize(size_t(size.height()), 0);
  size_ = size;
  if (block_) MakeView();
}

}  // namespace tarvesh::page
