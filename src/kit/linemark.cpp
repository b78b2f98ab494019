#include "kit/linemark.h"

#include "kit/linecontrol.h"
#include "kit/pagecanvas.h"

namespace tarvesh::kit {

LineMark::LineMark(const QString& name, PageCanvas* canvas, const QColor& colour)
    : QObject(canvas), canvas_(canvas), colour_(colour) {
  setObjectName(name);
  canvas->AddLineMark(this);
}

void LineMark::SetLine(const QLine& line) {
  const QRect box = LineBox(line);
  if (line == line_ && box == box_) return;
  Repaint();
  line_ = line;
  box_ = box;
  Repaint();
}

void LineMark::SetShown(bool shown) {
  if (shown == shown_) return;
  shown_ = shown;
  Repaint();
}

void LineMark::Repaint() {
  if (shown_) canvas_->update(box_);
}

}  // namespace tarvesh::kit
