#include "page/scorepage.h"

#include <QFontMetrics>
#include <QPainter>
#include <QtGlobal>
#include <cstring>

#include "page/geometry.h"
#include "page/pagefont.h"
#include "page/rounding.h"
#include "page/rowcopy.h"

namespace tarvesh::page {

ScorePage::ScorePage(int width, int height) : bitmap_(width, height) {}

void ScorePage::Resize(int width, int height) {
  const QSize size = QSize(width, height).expandedTo(QSize(1, 1));
  const QSize old = bitmap_.Rect().size();
  if (size == old) return;
  if (edit_) edit_->KeepResize(bitmap_, size);
  bitmap_.Resize(size);
  Publish({.kind = PageOperation::Kind::Resize, .target = bitmap_.Rect()});
  if (onResized) onResized();
  // What the page kept is unchanged; what it gained is white.
  if (size.width() > old.width())
    Changed(QRect(old.width(), 0, size.width() - old.width(), size.height()));
  if (size.height() > old.height())
    Changed(QRect(0, old.height(), size.width(), size.height() - old.height()));
}

void ScorePage::LoadImage(const QImage& image) {
  LoadRows(ImageRows(image), &image);
}

void ScorePage::LoadRows(const PictureRows& rows, const QImage* picture) {
  const QRect drawn = QRect(QPoint(0, 0), rows.Size()) & bitmap_.Rect();
  Keep(bitmap_.Inked() | drawn);
  bitmap_.Load(rows);
  Publish({.kind = PageOperation::Kind::Load,
           .picture = picture ? picture : &bitmap_.Image(),
           .target = bitmap_.Rect()});
  Changed(bitmap_.Rect());
}

void ScorePage::Clear() {
  Keep(bitmap_.Inked());
  bitmap_.Clear();
  Publish({.kind = PageOperation::Kind::Clear, .target = bitmap_.Rect()});
  Changed(bitmap_.Rect());
}

void ScorePage::CopyCell(const QImage& source, int sx, int sy, int w, int h, int dx, int dy,
                         PictureSource from) {
  // Clip the source to its picture, then the destination to the page, moving both together.
  QRect src(sx, sy, w, h);
  src = src.intersected(source.rect());
  const QRect dst = src.translated(dx - sx, dy - sy).intersected(bitmap_.Rect());
  if (dst.isEmpty()) return;
  src = dst.translated(sx - dx, sy - dy);
  QImage converted;
  const QImage& rgb = source.format() == QImage::Format_RGB32
                          ? source
                          : (converted = source.convertToFormat(QImage::Format_RGB32));
  Keep(dst);
  CopyPixels(rgb, src, dst.topLeft());
  Publish({.kind = PageOperation::Kind::CopyPicture,
           .source = from,
           .picture = &source,
           .sourceRect = QRect(sx, sy, w, h),
           .target = QRect(dx, dy, w, h)});
  Changed(dst);
}

void ScorePage::CopyPixels(const QImage& rgb, const QRect& src, QPoint to) {
  const QRect dst(to, src.size());
  quint32* into = bitmap_.BeginWrite(dst);
  const qsizetype stride = bitmap_.RowPixels();
  into += dst.y() * stride + dst.x();
  // Format_RGB32 rows are whole pixels apart.
  const qsizetype sourceStride = rgb.bytesPerLine() / qsizetype(sizeof(quint32));
  const quint32* from =
      reinterpret_cast<const quint32*>(rgb.constBits()) + src.y() * sourceStride + src.x();
  CopyRows(from, sourceStride, dst.width(), dst.height(), into, stride);
}

void ScorePage::MoveStrip(int sx, int sy, int w, int h, int dx, int dy) {
  QRect src = QRect(sx, sy, w, h).intersected(bitmap_.Rect());
  const QRect dst = src.translated(dx - sx, dy - sy).intersected(bitmap_.Rect());
  if (dst.isEmpty()) return;
  src = dst.translated(sx - dx, sy - dy);
  // The edit keeps the move itself and only what it overwrites outside its source.
  if (edit_) edit_->KeepMove(bitmap_, src, dst.topLeft());
  bitmap_.Move(src, dst.topLeft());
  Publish({.kind = PageOperation::Kind::MoveRegion,
           .sourceRect = QRect(sx, sy, w, h),
           .target = QRect(dx, dy, w, h)});
  Changed(dst);
}

int ScorePage::ReadPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return kInvalidColour;
  const QRgb rgb = bitmap_.Pixel(x, y);
  return qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16);
}

void ScorePage::ClearBlock(int x, int y) {
  FillRect(QRect(x, y, kClearBlockWidth, kCellHeight), Qt::white);
}

void ScorePage::FillRect(const QRect& rect, const QColor& colour) {
  const QRect r = rect.intersected(bitmap_.Rect());
  if (r.isEmpty()) return;
  Keep(r);
  const quint32 value = colour.rgb() | 0xff000000u;
  if (value == PageBitmap::kWhite) {
    bitmap_.Whiten(r);
  } else {
    quint32* line = bitmap_.BeginWrite(r);
    const qsizetype stride = bitmap_.RowPixels();
    line += r.top() * stride + r.left();
    for (int y = r.top(); y <= r.bottom(); ++y, line += stride)
      std::fill(line, line + r.width(), value);
  }
  Publish({.kind = PageOperation::Kind::Fill, .target = rect, .colour = colour});
  Changed(r);
}

void ScorePage::StretchCopy(const QImage& source, const QRect& sourceRect, const QRect& target,
                            PictureSource from) {
  if (sourceRect.isEmpty() || target.isEmpty()) return;
  const QRect visible = target.intersected(bitmap_.Rect());
  if (visible.isEmpty()) return;
  const QImage rgb = source.convertToFormat(QImage::Format_RGB32);
  Keep(visible);
  quint32* const bits = bitmap_.BeginWrite(visible);
  const qsizetype stride = bitmap_.RowPixels();
  for (int y = visible.top(); y <= visible.bottom(); ++y) {
    const int sy =
        StretchedFrom(y, target.y(), target.height(), sourceRect.y(), sourceRect.height());
    if (sy < 0 || sy >= rgb.height()) continue;
    const auto* row = reinterpret_cast<const quint32*>(rgb.constScanLine(sy));
    quint32* to = bits + y * stride;
    for (int x = visible.left(); x <= visible.right(); ++x) {
      const int sx =
          StretchedFrom(x, target.x(), target.width(), sourceRect.x(), sourceRect.width());
      if (sx < 0 || sx >= rgb.width()) continue;
      to[x] = row[sx] | 0xff000000u;
    }
  }
  Publish({.kind = PageOperation::Kind::StretchPicture,
           .source = from,
           .picture = &source,
           .sourceRect = sourceRect,
           .target = target});
  Changed(visible);
}

void ScorePage::SetFont(double pointSize, bool bold) {
  state_.fontPointSize = pointSize;
  state_.fontBold = bold;
}

int ScorePage::TextWidth(const QString& text) const {
  return QFontMetrics(PageFont(state_.fontPointSize, state_.fontBold)).horizontalAdvance(text);
}

void ScorePage::DrawText(const QString& text) {
  const QFont font = PageFont(state_.fontPointSize, state_.fontBold);
  const QFontMetrics metrics(font);
  const int width = metrics.horizontalAdvance(text);
  const QPointF start = state_.textPosition;
  const QPointF baseline = start + QPointF(0, metrics.ascent());
  const QRect touched(int(start.x()) - 2, int(start.y()) - 2, width + 4, metrics.height() + 4);
  // The text's ink with a margin; the painter is held inside it, so an open edit keeps every
  // pixel the text can change.
  const QRect ink = QRectF(metrics.boundingRect(text)).translated(baseline).toAlignedRect();
  const QRect reach = (touched | ink.adjusted(-2, -2, 2, 2)) & bitmap_.Rect();
  if (!reach.isEmpty()) {
    Keep(reach);
    QPainter painter(&bitmap_.BeginPaint(reach));
    painter.setClipRect(reach);
    painter.setFont(font);
    painter.setPen(state_.foreColour);
    painter.drawText(baseline, text);
  }
  state_.textPosition.rx() += width;
  Publish({.kind = PageOperation::Kind::Text,
           .target = touched,
           .colour = state_.foreColour,
           .text = text,
           .pointSize = state_.fontPointSize,
           .bold = state_.fontBold,
           .position = start});
  Changed(touched | reach);
}

void ScorePage::SetCursor(float left, float top) {
  if (left == state_.cursorLeft && top == state_.cursorTop) return;
  state_.cursorLeft = left;
  state_.cursorTop = top;
  if (onCursorMoved) onCursorMoved();
}

void ScorePage::SetState(const PageState& state) {
  const bool moved = state.cursorLeft != state_.cursorLeft || state.cursorTop != state_.cursorTop;
  state_ = state;
  if (moved && onCursorMoved) onCursorMoved();
}

void ScorePage::BeginEdit() {
  if (editDepth_++ > 0) return;
  edit_.emplace();
  edit_->stateBefore_ = state_;
  edit_->sizeBefore_ = bitmap_.Rect().size();
}

PageEdit ScorePage::EndEdit() {
  if (editDepth_ == 0) {
    qWarning("ScorePage::EndEdit: no edit is open");
    return {};
  }
  if (--editDepth_ > 0) return {};
  PageEdit edit = std::move(*edit_);
  edit_.reset();
  edit.stateAfter_ = state_;
  edit.sizeAfter_ = bitmap_.Rect().size();
  return edit;
}

bool ScorePage::ChangedBy(PageEdit& edit) {
  if (!edit.WritesPage()) return false;
  if (edit.sizeBefore_ != edit.sizeAfter_) return true;
  const QRect bounds = edit.Bounds() & bitmap_.Rect();
  if (bounds.isEmpty()) return false;
  // Most edits only wrote: their kept pixels tell, without running them, which would keep the
  // pixels of every rectangle written over blank paper (a large paste's worth).
  if (const std::optional<bool> same = edit.LeftAsFound(bitmap_)) return !*same;
  // Otherwise the page before the edit is the page with the edit run backwards; both runs leave
  // it as it is now.
  const QImage after = bitmap_.Image().copy(bounds);
  edit.Run(bitmap_, true);
  const bool same = bitmap_.Image().copy(bounds) == after;
  edit.Run(bitmap_, false);
  return !same;
}

bool ScorePage::Revert(PageEdit& edit) {
  return Run(edit, true);
}

bool ScorePage::Reapply(PageEdit& edit) {
  return Run(edit, false);
}

bool ScorePage::Run(PageEdit& edit, bool backwards) {
  const char* refused = nullptr;
  const QSize size = bitmap_.Rect().size();
  if (editDepth_ > 0) {
    refused = "an edit is open";
  } else if (edit.reverted_ == backwards) {
    refused = backwards ? "the edit is already reverted" : "the edit is already applied";
  } else if (!edit.IsEmpty() && size != (backwards ? edit.sizeAfter_ : edit.sizeBefore_)) {
    refused = "the page is not of the size the edit left";
  }
  if (refused) {
    qWarning("ScorePage: cannot %s an edit: %s", backwards ? "revert" : "reapply", refused);
    return false;
  }
  if (edit.IsEmpty()) {
    edit.reverted_ = backwards;
    return true;
  }
  edit.Run(bitmap_, backwards);
  SetState(backwards ? edit.stateBefore_ : edit.stateAfter_);
  Publish({.kind = backwards ? PageOperation::Kind::Revert : PageOperation::Kind::Reapply,
           .target = edit.Bounds()});
  if (bitmap_.Rect().size() != size) {
    if (onResized) onResized();
    Changed(bitmap_.Rect());
  } else {
    Changed(edit.Bounds() & bitmap_.Rect());
  }
  return true;
}

void ScorePage::Changed(const QRect& rect) {
  if (onChanged && !rect.isEmpty()) onChanged(rect);
}

}  // namespace tarvesh::page
