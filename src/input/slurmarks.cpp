#include "input/slurmarks.h"

#include "engine/glyphengine.h"
#include "kit/controlregistry.h"
#include "kit/imagecontrol.h"
#include "kit/labelcontrol.h"
#include "page/geometry.h"
#include "page/rounding.h"
#include "page/scorepage.h"
#include "page/slurarc.h"

namespace tarvesh::input {

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

void SlurMarks::MarkOrDraw(const std::optional<QPointF>& noteEndBeforeBarLine) {
  // The mark's place is the only record of where the slur begins, so an edit taken back that
  // shows the mark again begins the slur there.
  const QPoint cursor(page::RoundHalfEven(page_.CursorLeft()),
                      page::RoundHalfEven(page_.CursorTop()));
  if (!Begun()) {
    label8_->move(cursor);
    label8_->show();
    label8_->raise();
    return;
  }
  label8_->hide();
  if (label8_->pos() == cursor) return;
  // The two places bracket the slur's notes: the earlier is the cell of its first note, the later
  // lies just past its last note, where the cursor stands once that note is typed. The arc runs
  // from the middle of the first note to the middle of the last, so none of it lies at or right
  // of a cursor that closes it, and typing on pushes no piece of it along.
  int left1 = label8_->x();
  int top1 = label8_->y();
  int left2 = cursor.x();
  int top2 = cursor.y();
  if (top2 < top1 || (top2 == top1 && left2 < left1)) {
    engine::GlyphEngine::SwapIntegers(left1, left2);
    engine::GlyphEngine::SwapIntegers(top1, top2);
  } else if (noteEndBeforeBarLine) {
    // Closed right after a bar line that went in by itself: the last note is the one before it.
    left2 = page::RoundHalfEven(noteEndBeforeBarLine->x());
    top2 = page::RoundHalfEven(noteEndBeforeBarLine->y());
  }
  const QImage arc = image4_->Picture().toImage();
  for (const page::SlurArc& part :
       page::SlurArc::Between(QPoint(left1, top1), QPoint(left2, top2), page_.Width()))
    page_.StretchCopy(arc, page::SlurArc::Source(part.part), part.target,
                      page::PictureSource::SlurArc);
}

}  // namespace tarvesh::input
