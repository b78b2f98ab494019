#include "print/inklayer.h"

namespace tarvesh::print {

InkLayer::InkLayer(const QColor& colour, QSize size)
    : colour_(colour), bits_(size, QImage::Format_Mono) {
  bits_.setColorTable({qRgb(255, 255, 255), colour.rgb()});
  bits_.fill(0);
}

QImage InkLayer::InkOf(const QImage& image) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  QImage bits(rgb.size(), QImage::Format_Mono);
  bits.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  bits.fill(0);
  const int width = rgb.width();
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* from = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    uchar* to = bits.scanLine(y);
    for (int x = 0; x < width; ++x)
      if ((from[x] & 0x00ffffffu) != 0x00ffffffu) to[x >> 3] |= uchar(0x80 >> (x & 7));
  }
  return bits;
}

void InkLayer::LayIn(const QImage& source, const QRect& from, QPoint at) {
  const QRect src = from & source.rect();
  const QRect dst = QRect(at + (src.topLeft() - from.topLeft()), src.size()) & bits_.rect();
  if (dst.isEmpty()) return;
  const QPoint shift = dst.topLeft() - at - (src.topLeft() - from.topLeft());
  const QRect read(src.topLeft() + shift, dst.size());
  inked_ |= dst;
  // Whole source bytes shifted into place when the source starts on a byte; else pixel by pixel.
  const bool bytewise = read.x() % 8 == 0;
  const int offset = dst.x() & 7;
  for (int row = 0; row < dst.height(); ++row) {
    const uchar* in = source.constScanLine(read.y() + row);
    uchar* out = bits_.scanLine(dst.y() + row);
    if (!bytewise) {
      for (int i = 0; i < dst.width(); ++i) {
        const int sx = read.x() + i, dx = dst.x() + i;
        if (in[sx >> 3] & (0x80 >> (sx & 7))) out[dx >> 3] |= uchar(0x80 >> (dx & 7));
      }
      continue;
    }
    const int bytes = (dst.width() + 7) / 8;
    const int lastBits = dst.width() - 8 * (bytes - 1);
    for (int b = 0; b < bytes; ++b) {
      uchar value = in[read.x() / 8 + b];
      // Bits past the rectangle's right edge belong to other cells of the source.
      if (b == bytes - 1) value &= uchar(0xff << (8 - lastBits));
      if (!value) continue;
      const int first = dst.x() / 8 + b;
      out[first] |= uchar(value >> offset);
      if (offset && first + 1 < bits_.bytesPerLine())
        out[first + 1] |= uchar(value << (8 - offset));
    }
  }
}

void InkLayer::Fill(const QRect& rect) {
  const QRect r = rect & bits_.rect();
  if (r.isEmpty()) return;
  inked_ |= r;
  for (int y = r.top(); y <= r.bottom(); ++y) {
    uchar* out = bits_.scanLine(y);
    for (int x = r.left(); x <= r.right(); ++x) out[x >> 3] |= uchar(0x80 >> (x & 7));
  }
}

}  // namespace tarvesh::print
