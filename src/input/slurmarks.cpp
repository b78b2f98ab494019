#include "input/slurmarks.h"

#include "engine/glyphengine.h"
#include "kit/controlregistry.h"
#include "kit/imagecontrol.h"
#include "kit/labelcontrol.h"
#include "page/geometry.h"
#include "page/rounding.h"
#include "page/scorepage.h"

namespace tarvesh::input {

namespace {
constexpr int kArcWidth = 475;
constexpr int kArcHeight = 15;
constexpr int kArcHalf = 237;
// The arc's rectangle ends two pixels into the line's cells, so dots above a digit survive.
constexpr int kBottomDrop = 2;
}  // namespace

SlurMarks::SlurMarks(page::ScorePage& page, const QImage& arc, QWidget* canvas,
                     kit::ControlRegistry& controls)
    : QObject(canvas),
      page_(page),
      label8_(new kit::LabelControl(QStringLiteral("Label8"), QString(), canvas, false)),
      image4_(new kit::ImageControl(QStringLiteral("Image4"), canvas)) {
  image4_->SetPicture(QPixmap::fromImage(arc), QString());
  image4_->hide();
  controls.Add(image4_);
  label8_->resize(page::kWideCell, page::kCellHeight);
  label8_->SetBorder(true);
  label8_->setAttribute(Qt::WA_TransparentForMouseEvents);
  label8_->SetForeColour(QColor(0, 128, 255));
  label8_->hide();
  controls.Add(label8_);
}

bool SlurMarks::Begun() const {
  return !label8_->isHidden();
}

void SlurMarks::MarkOrDraw() {
  if (!Begun()) {
    markLeft_ = page_.CursorLeft();
    markTop_ = page_.CursorTop();
    label8_->move(page::RoundHalfEven(markLeft_), page::RoundHalfEven(markTop_));
    label8_->show();
    label8_->raise();
    return;
  }
  label8_->hide();
  if (markLeft_ == page_.CursorLeft() && markTop_ == page_.CursorTop()) return;
  int x1 = page::RoundHalfEven(markLeft_ + 6);
  int x2 = page::RoundHalfEven(page_.CursorLeft() + 6);
  int y1 = page::RoundHalfEven(markTop_);
  int y2 = page::RoundHalfEven(page_.CursorTop());
  if (y1 == y2) {
    if (x1 > x2) engine::GlyphEngine::SwapIntegers(x1, x2);
    const int d = x2 - x1;
    StretchArc(0, kArcWidth, x1, d, y1 - 5 - d / 100.0, y1 + kBottomDrop);
    return;
  }
  if (y1 > y2) {
    engine::GlyphEngine::SwapIntegers(x1, x2);
    engine::GlyphEngine::SwapIntegers(y1, y2);
  }
  const int d1 = page_.Width() - x1 - page::kWrapInset;
  StretchArc(0, kArcHalf, x1, d1, y1 - 5 - d1 / 100.0, y1 + kBottomDrop);
  const int d2 = x2 - page::kLeftMargin;
  StretchArc(kArcHalf, kArcHalf, page::kLeftMargin, d2, y2 - 5 - d2 / 100.0, y2 + kBottomDrop);
}

void SlurMarks::StretchArc(int sourceLeft, int sourceWidth, int left, int width, double top,
                           int bottom) {
  // The bottom edge is exact; the fractional top rounds to the nearest row, halves to even.
  const int wholeTop = page::RoundHalfEven(top);
  if (width <= 0 || bottom <= wholeTop) return;
  page_.StretchCopy(image4_->Picture().toImage(), QRect(sourceLeft, 0, sourceWidth, kArcHeight),
                    QRect(left, wholeTop, width, bottom - wholeTop));
}

}  // namespace tarvesh::input
