#include "reading/inkmap.h"

namespace tarvesh::reading {

namespace {

constexpr quint32 kColourBits = 0x00ffffffu;

bool RowIsWhite(const quint32* row, int width) {
  quint32 dark = 0;
  for (int x = 0; x < width; ++x) dark |= ~row[x];
  return (dark & kColourBits) == 0;
}

// True when the eight pixels from `pixels` on are all white.
bool EightWhite(const quint32* pixels) {
  quint32 all = kColourBits;
  for (int i = 0; i < 8; ++i) all &= pixels[i];
  return (all & kColourBits) == kColourBits;
}

}  // namespace

InkMap::InkMap(const QImage& page) : InkMap(page, 0, page.height()) {}

InkMap::InkMap(const QImage& page, int firstRow, int lastRow) {
  const QImage rgb =
      page.format() == QImage::Format_RGB32 ? page : page.convertToFormat(QImage::Format_RGB32);
  width_ = rgb.width();
  height_ = rgb.height();
  blackRowStart_.resize(size_t(height_) + 1);
  inkRowStart_.resize(size_t(height_) + 1);
  for (int y = 0; y < height_; ++y) {
    blackRowStart_[y] = int(black_.size());
    inkRowStart_[y] = int(ink_.size());
    if (y < firstRow || y >= lastRow) continue;
    const auto* row = reinterpret_cast<const quint32*>(rgb.constScanLine(y));
    if (RowIsWhite(row, width_)) continue;
    int x = 0;
    while (x < width_) {
      // Pages are mostly white: skip eight pixels at a time.
      while (x + 8 <= width_ && EightWhite(row + x)) x += 8;
      if ((row[x] & kColourBits) == kColourBits) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < width_ && (row[x] & kColourBits) != kColourBits) ++x;
      ink_.push_back({y, start, x});
      for (int b = start; b < x;) {
        if ((row[b] & kColourBits) != 0) {
          ++b;
          continue;
        }
        const int blackStart = b;
        while (b < x && (row[b] & kColourBits) == 0) ++b;
        black_.push_back({y, blackStart, b});
      }
    }
  }
  blackRowStart_[height_] = int(black_.size());
  inkRowStart_[height_] = int(ink_.size());
}

}  // namespace tarvesh::reading
