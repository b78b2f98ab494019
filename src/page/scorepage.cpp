#include "page/scorepage.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cstring>

#include "page/pagefont.h"

namespace tarvesh::page {

namespace {

QImage WhiteImage(int width, int height) {
  QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

}  // namespace

ScorePage::ScorePage(int width, int height) : image_(WhiteImage(width, height)) {}

void ScorePage::Resize(int width, int height) {
  if (width == Width() && height == Height()) return;
  QImage resized = WhiteImage(width, height);
  const int w = std::min(Width(), resized.width());
  const int h = std::min(Height(), resized.height());
  for (int y = 0; y < h; ++y)
    std::memcpy(resized.scanLine(y), image_.constScanLine(y), size_t(w) * 4);
  image_ = std::move(resized);
  if (onResized) onResized();
  Changed(image_.rect());
}

void ScorePage::LoadImage(const QImage& image) {
  image_.fill(Qt::white);
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  CopyCell(rgb, 0, 0, rgb.width(), rgb.height(), 0, 0);
  Changed(image_.rect());
}

void ScorePage::Clear() {
  image_.fill(Qt::white);
  Changed(image_.rect());
}

void ScorePage::CopyCell(const QImage& source, int sx, int sy, int w, int h, int dx, int dy) {
  // Clip the source to its picture, then the destination to the page, moving both together.
  QRect src(sx, sy, w, h);
  src = src.intersected(source.rect());
  QRect dst = src.translated(dx - sx, dy - sy).intersected(image_.rect());
  if (dst.isEmpty()) return;
  src = dst.translated(sx - dx, sy - dy);
  const QImage rgb = source.format() == QImage::Format_RGB32
                         ? source
                         : source.convertToFormat(QImage::Format_RGB32);
  const uchar* from = rgb.constBits() + src.y() * rgb.bytesPerLine() + src.x() * 4;
  uchar* to = WritableBits() + dst.y() * Stride() + dst.x() * 4;
  const size_t bytes = size_t(dst.width()) * 4;
  for (int row = 0; row < dst.height(); ++row) {
    std::memcpy(to, from, bytes);
    from += rgb.bytesPerLine();
    to += Stride();
  }
  Changed(dst);
}

void ScorePage::MoveStrip(int sx, int sy, int w, int h, int dx, int dy) {
  QRect src = QRect(sx, sy, w, h).intersected(image_.rect());
  QRect dst = src.translated(dx - sx, dy - sy).intersected(image_.rect());
  if (dst.isEmpty()) return;
  src = dst.translated(sx - dx, sy - dy);
  const int rows = dst.height();
  const size_t bytes = size_t(dst.width()) * 4;
  // Rows are walked away from the destination so no source row is overwritten before it is
  // read; memmove handles the overlap inside a row.
  uchar* const bits = WritableBits();
  auto moveRow = [&](int row) {
    const uchar* from = bits + (src.y() + row) * Stride() + src.x() * 4;
    uchar* to = bits + (dst.y() + row) * Stride() + dst.x() * 4;
    std::memmove(to, from, bytes);
  };
  if (dst.y() > src.y()) {
    for (int row = rows - 1; row >= 0; --row) moveRow(row);
  } else {
    for (int row = 0; row < rows; ++row) moveRow(row);
  }
  Changed(dst);
}

int ScorePage::ReadPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return kInvalidColour;
  const QRgb rgb = reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x];
  return qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16);
}

void ScorePage::ClearBlock(int x, int y) {
  FillRect(QRect(x, y, 20, 40), Qt::white);
}

void ScorePage::FillRect(const QRect& rect, const QColor& colour) {
  const QRect r = rect.intersected(image_.rect());
  if (r.isEmpty()) return;
  const quint32 value = colour.rgb() | 0xff000000u;
  uchar* const bits = WritableBits();
  for (int y = r.top(); y <= r.bottom(); ++y) {
    auto* line = reinterpret_cast<quint32*>(bits + y * Stride()) + r.left();
    // White, the common case, is all bytes 0xff: memset beats a loop of 32-bit stores.
    if (value == 0xffffffffu) {
      std::memset(line, 0xff, size_t(r.width()) * 4);
    } else {
      std::fill(line, line + r.width(), value);
    }
  }
  Changed(r);
}

void ScorePage::StretchCopy(const QImage& source, const QRect& sourceRect, const QRect& target) {
  if (sourceRect.isEmpty() || target.isEmpty()) return;
  const QRect visible = target.intersected(image_.rect());
  if (visible.isEmpty()) return;
  const QImage rgb = source.convertToFormat(QImage::Format_RGB32);
  uchar* const bits = WritableBits();
  for (int y = visible.top(); y <= visible.bottom(); ++y) {
    // Nearest-neighbour: the source pixel whose span covers the centre of the target pixel.
    const int sy =
        sourceRect.y() + int((y - target.y() + 0.5) * sourceRect.height() / target.height());
    if (sy < 0 || sy >= rgb.height()) continue;
    const auto* from = reinterpret_cast<const quint32*>(rgb.constScanLine(sy));
    auto* to = reinterpret_cast<quint32*>(bits + y * Stride());
    for (int x = visible.left(); x <= visible.right(); ++x) {
      const int sx =
          sourceRect.x() + int((x - target.x() + 0.5) * sourceRect.width() / target.width());
      if (sx < 0 || sx >= rgb.width()) continue;
      to[x] = from[sx] | 0xff000000u;
    }
  }
  Changed(visible);
}

void ScorePage::SetFont(double pointSize, bool bold) {
  fontPointSize_ = pointSize;
  fontBold_ = bold;
}

int ScorePage::TextWidth(const QString& text) const {
  return QFontMetrics(PageFont(fontPointSize_, fontBold_)).horizontalAdvance(text);
}

void ScorePage::DrawText(const QString& text) {
  const QFont font = PageFont(fontPointSize_, fontBold_);
  const QFontMetrics metrics(font);
  const int width = metrics.horizontalAdvance(text);
  {
    QPainter painter(&image_);
    painter.setFont(font);
    painter.setPen(foreColour_);
    painter.drawText(textPosition_ + QPointF(0, metrics.ascent()), text);
  }
  const QRect touched(int(textPosition_.x()) - 2, int(textPosition_.y()) - 2, width + 4,
                      metrics.height() + 4);
  textPosition_.rx() += width;
  Changed(touched);
}

void ScorePage::SetCursor(float left, float top) {
  if (left == cursorLeft_ && top == cursorTop_) return;
  cursorLeft_ = left;
  cursorTop_ = top;
  if (onCursorMoved) onCursorMoved();
}

void ScorePage::Changed(const QRect& rect) {
  if (onChanged) onChanged(rect);
}

}  // namespace tarvesh::page
