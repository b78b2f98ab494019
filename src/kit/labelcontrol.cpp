#include "kit/labelcontrol.h"

#include "score/pagehead.h"

namespace tarvesh::kit {

LabelControl::LabelControl(const QString& name, const QString& caption, QWidget* parent,
                           bool autoSize)
    : QLabel(parent), mouse_(new MouseEvents(this)), autoSize_(autoSize) {
  setObjectName(name);
  setMargin(0);
  setIndent(0);
  setTextFormat(Qt::PlainText);
  SetTransparent(true);
  SetCaption(caption);
}

void LabelControl::SetCaption(const QString& caption) {
  setText(caption);
  // The same size as a composed page gives the caption, so both place it alike.
  if (autoSize_) {
    const int frame = 2 * frameWidth();
    resize(score::CaptionSize(font(), caption) + QSize(frame, frame));
  }
  emit CaptionChanged(caption);
}

void LabelControl::SetForeColour(const QColor& colour) {
  foreColour_ = colour;
  QPalette p = palette();
  p.setColor(QPalette::WindowText, colour);
  setPalette(p);
}

void LabelControl::SetTransparent(bool transparent) {
  setAutoFillBackground(!transparent);
  if (!transparent) {
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
  }
}

void LabelControl::SetBorder(bool border) {
  setFrameStyle(border ? QFrame::Box : QFrame::NoFrame);
}

void LabelControl::mousePressEvent(QMouseEvent* event) {
  mouse_->Press(event);
}
void LabelControl::mouseMoveEvent(QMouseEvent* event) {
  mouse_->Move(event);
}
void LabelControl::mouseReleaseEvent(QMouseEvent* event) {
  mouse_->Release(event);
}
void LabelControl::mouseDoubleClickEvent(QMouseEvent* event) {
  mouse_->DoubleClick(event);
}

}  // namespace tarvesh::kit
