#include "kit/pagecanvas.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "kit/linemark.h"
#include "kit/mousebits.h"
#include "kit/virtualkeys.h"

namespace tarvesh::kit {

namespace {

// Marks show in a colour no glyph has.
const QColor kMarkColour(255, 128, 0);

QRect MarkArea(const QLine& mark) {
  return QRect(mark.p1(), mark.p2()).normalized().adjusted(0, 0, 1, 1);
}

}  // namespace

PageCanvas::PageCanvas(page::ScorePage& page, QWidget* parent)
    : QWidget(parent), page_(page), mouse_(new MouseEvents(this)) {
  setObjectName(QStringLiteral("Picture1"));
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  SyncSize();
}

void PageCanvas::SyncSize() {
  resize(page_.Width(), page_.Height());
}

void PageCanvas::paintEvent(QPaintEvent* event) {
  if (marksStale_) RefreshMarks();
  QPainter painter(this);
  const QRect area = event->rect();
  const double shown = painter.deviceTransform().m11();
  if (sharp_ && shown > 1.0) {
    // Shown larger than its pixels, the page is drawn from its sharp source, blended down to the
    // screen's pixels unless shown at the source's own size.
    const QRect region = area & page_.Image().rect();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, shown != sharpScale_);
    painter.drawImage(QRectF(region), sharp_(region));
  } else {
    // Shown smaller than its pixels the page is blended, so that thin lines do not drop out.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, shown < 1.0);
    painter.drawImage(area.topLeft(), page_.Image(), area);
  }
  if (over_) over_(painter);
  painter.setPen(QPen(kMarkColour, 1));
  for (const QLine& mark : shownMarks_)
    if (MarkArea(mark).intersects(area)) painter.drawLine(mark);
  for (const LineMark* mark : lineMarks_) {
    if (!mark->IsShown() || !mark->Box().intersects(area)) continue;
    painter.setPen(mark->Colour());
    painter.drawLine(mark->Line());
  }
}

void PageCanvas::RefreshMarks() {
  marksStale_ = false;
  std::vector<QLine> marks = marks_ ? marks_() : std::vector<QLine>{};
  if (marks == shownMarks_) return;
  for (const QLine& mark : shownMarks_) update(MarkArea(mark));
  for (const QLine& mark : marks) update(MarkArea(mark));
  shownMarks_ = std::move(marks);
}

void PageCanvas::SetTextEntry(bool on) {
  textEntry_ = on;
  composing_.clear();
  setAttribute(Qt::WA_InputMethodEnabled, on);
  if (hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImEnabled);
  update();
}

void PageCanvas::SetCaret(const QRect& caret) {
  if (caret == caret_) return;
  update(caret_.adjusted(-2, -2, 2, 2));
  caret_ = caret;
  update(caret_.adjusted(-2, -2, 2, 2));
  if (hasFocus() && textEntry_) QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
}

void PageCanvas::keyPressEvent(QKeyEvent* event) {
  const QString text = event->text();
  const bool typesText =
      !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
  const bool commanding =
      event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  if (textEntry_ && typesText && !commanding) {
    emit TextTyped(text);
    return;
  }
  emit KeyDown(VirtualKeyOf(*event), ShiftBits(event->modifiers()));
}

void PageCanvas::keyReleaseEvent(QKeyEvent* event) {
  if (event->isAutoRepeat()) return;
  emit KeyUp(VirtualKeyOf(*event), ShiftBits(event->modifiers()));
}

void PageCanvas::mousePressEvent(QMouseEvent* event) {
  mouse_->Press(event);
}
void PageCanvas::mouseMoveEvent(QMouseEvent* event) {
  mouse_->Move(event);
}
void PageCanvas::mouseReleaseEvent(QMouseEvent* event) {
  mouse_->Release(event);
}

void PageCanvas::inputMethodEvent(QInputMethodEvent* event) {
  if (!textEntry_) {
    event->ignore();
    return;
  }
  event->accept();
  if (composing_ != event->preeditString()) {
    composing_ = event->preeditString();
    update();
  }
  if (!event->commitString().isEmpty()) emit TextTyped(event->commitString());
}

QVariant PageCanvas::inputMethodQuery(Qt::InputMethodQuery query) const {
  switch (query) {
    case Qt::ImEnabled:
      return textEntry_;
    case Qt::ImCursorRectangle:
      return caret_;
    case Qt::ImSurroundingText:
      return QString();
    case Qt::ImCursorPosition:
    case Qt::ImAnchorPosition:
      return 0;
    default:
      return QWidget::inputMethodQuery(query);
  }
}

// Tab belongs to the page's key handler, not to focus navigation.
bool PageCanvas::focusNextPrevChild(bool) {
  return false;
}

}  // namespace tarvesh::kit
