#include "page/pagebitmap.h"

#include <algorithm>
#include <cstring>

namespace tarvesh::page {

namespace {

// QRect's & and | normalise a rectangle of negative size; bands are made only when they exist.
QRect Band(int x, int y, int width, int height) {
  return width > 0 && height > 0 ? QRect(x, y, width, height) : QRect();
}

void ReleaseBlock(void* holder) {
  delete static_cast<std::shared_ptr<void>*>(holder);
}

}  // namespace

PageBitmap::Block::Block(int width, int height)
    : width(width), height(height), pixels(new quint32[size_t(width) * size_t(height)]) {
  std::memset(pixels.get(), 0xff, size_t(width) * size_t(height) * sizeof(quint32));
}

PageBitmap::PageBitmap(int width, int height)
    : size_(std::max(width, 1), std::max(height, 1)), settled_(Rect()) {}

const QImage& PageBitmap::Image() const {
  Allocate();
  return view_;
}

const quint32* PageBitmap::Row(int y) const {
  Allocate();
  return block_->pixels.get() + qsizetype(y) * block_->width;
}

qsizetype PageBitmap::RowPixels() const {
  Allocate();
  return block_->width;
}

void PageBitmap::Allocate() const {
  if (block_) return;
  block_ = std::make_shared<Block>(size_.width() + kSpareColumns, size_.height());
  MakeView();
}

void PageBitmap::MakeView() const {
  view_ = QImage(reinterpret_cast<uchar*>(block_->pixels.get()), size_.width(), size_.height(),
                 qsizetype(block_->width) * 4, QImage::Format_RGB32, ReleaseBlock,
                 new std::shared_ptr<void>(block_));
}

void PageBitmap::MakeOwn() {
  Allocate();
  // One owner is this bitmap and one its view; any other is a view a caller still holds, or a
  // copy of the current view (which shares the view itself).
  if (view_.isDetached() && block_.use_count() == 2) return;
  auto own = std::make_shared<Block>(block_->width, block_->height);
  std::memcpy(own->pixels.get(), block_->pixels.get(),
              size_t(block_->width) * size_t(block_->height) * sizeof(quint32));
  block_ = std::move(own);
  MakeView();
}

quint32* PageBitmap::BeginWrite(const QRect& rect) {
  MakeOwn();
  // The view is not shared, so this only renews its cache key: a cached pixmap of the old
  // pixels is never taken for the new ones.
  view_.detach();
  inked_ |= rect;
  if (!settled_.contains(rect)) loose_ |= rect;
  return block_->pixels.get();
}

QImage& PageBitmap::BeginPaint(const QRect& rect) {
  BeginWrite(rect);
  return view_;
}

void PageBitmap::Move(const QRect& from, QPoint to) {
  const QRect dst(to, from.size());
  quint32* const bits = BeginWrite(dst);
  const qsizetype stride = block_->width;
  const size_t bytes = size_t(dst.width()) * sizeof(quint32);
  // Rows are walked away from the destination so no source row is overwritten before it is
  // read; memmove handles the overlap inside a row.
  auto moveRow = [&](int row) {
    std::memmove(bits + (dst.y() + row) * stride + dst.x(),
                 bits + (from.y() + row) * stride + from.x(), bytes);
  };
  if (dst.y() > from.y()) {
    for (int row = dst.height() - 1; row >= 0; --row) moveRow(row);
  } else {
    for (int row = 0; row < dst.height(); ++row) moveRow(row);
  }
}

void PageBitmap::FillWhite(const QRect& rect) {
  quint32* const bits = block_->pixels.get();
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    std::memset(bits + qsizetype(y) * block_->width + rect.x(), 0xff,
                size_t(rect.width()) * sizeof(quint32));
}

void PageBitmap::Clear() {
  const QRect ink = inked_ & Rect();
  if (!ink.isEmpty()) {
    BeginWrite(ink);
    FillWhite(ink);
  }
  inked_ = QRect();
  loose_ = QRect();
}

std::array<QRect, 2> PageBitmap::InkOutside(QSize size) const {
  const QRect right = Band(size.width(), 0, Width() - size.width(), Height());
  const QRect below =
      Band(0, size.height(), std::min(Width(), size.width()), Height() - size.height());
  const auto ink = [this](const QRect& band) {
    return (band & settled_ & inked_) | (band & loose_);
  };
  return {ink(right), ink(below)};
}

void PageBitmap::Resize(QSize size) {
  size = size.expandedTo(QSize(1, 1));
  if (size == size_) return;
  const QRect kept = QRect(QPoint(0, 0), size) & Rect();
  const bool narrower = kept != Rect();
  if (!block_) {
    size_ = size;
    settled_ = Rect();
    return;
  }
  // The block is kept while it is at most twice what the page would allocate afresh, so a page
  // made much smaller gives its memory back.
  const bool fits = size.width() <= block_->width && size.height() <= block_->height &&
                    2 * qint64(size.width() + kSpareColumns) * size.height() >=
                        qint64(block_->width) * block_->height;
  if (fits) {
    for (const QRect& ink : InkOutside(size)) {
      if (ink.isEmpty()) continue;
      BeginWrite(ink);
      FillWhite(ink);
    }
  } else {
    auto fresh = std::make_shared<Block>(size.width() + kSpareColumns, size.height());
    for (int y = 0; y < kept.height(); ++y)
      std::memcpy(fresh->pixels.get() + qsizetype(y) * fresh->width, Row(y),
                  size_t(kept.width()) * sizeof(quint32));
    block_ = std::move(fresh);
  }
  size_ = size;
  inked_ &= Rect();
  if (narrower || !fits) {
    settled_ = Rect();
    loose_ = QRect();
  }
  MakeView();
}

}  // namespace tarvesh::page
