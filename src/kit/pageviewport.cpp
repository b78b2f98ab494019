#include "kit/pageviewport.h"

#include <QEvent>
#include <QGraphicsScene>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "kit/pagecanvas.h"
#include "kit/pageproxy.h"

namespace tarvesh::kit {

namespace {

// One notch of an ordinary wheel.
constexpr int kNotch = 120;

// Floor of a / b for b > 0, negative a included (a drag past the viewport's left edge).
int FloorDiv(long long a, long long b) {
  return int(a >= 0 ? a / b : -((-a + b - 1) / b));
}

// The scroll value that shows [low, high) of the content in a window of `size` starting at
// `value`, moving the least; the low end wins when both do not fit.
int LeastScroll(int value, int size, int low, int high) {
  if (high - low > size || low < value) return low;
  if (high > value + size) return high - size;
  return value;
}

}  // namespace

PageViewport::PageViewport(PageCanvas* canvas, int pageLeft, QWidget* parent)
    : QGraphicsView(parent),
      canvas_(canvas),
      holder_(new QWidget),
      proxy_(new PageProxy([this](QPoint point) { return PageAt(point) + QPoint(pageLeft_, 0); })),
      pageLeft_(pageLeft) {
  setObjectName(QStringLiteral("PageViewport"));
  setFrameShape(QFrame::NoFrame);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setBackgroundBrush(palette().window());
  setTransformationAnchor(QGraphicsView::NoAnchor);
  setResizeAnchor(QGraphicsView::NoAnchor);
  // The page's own repaints are small strips; the view repaints just those.
  setViewportUpdateMode(QGraphicsView::MinimalViewportUpdate);
  // The page is the focus target; the view only passes the keys on.
  setFocusPolicy(Qt::StrongFocus);

  // The holder gives the page its place in the window's coordinates.
  holder_->setObjectName(QStringLiteral("PageHolder"));
  canvas_->setParent(holder_);
  canvas_->move(pageLeft_, 0);
  auto* scene = new QGraphicsScene(this);
  scene->addItem(proxy_);
  setScene(scene);
  canvas_->installEventFilter(this);
  SyncPage();
}

void PageViewport::showEvent(QShowEvent* event) {
  // Embedding shows the page at once; until the window is first shown the page's controls are
  // made as children of a page not yet shown, which show with it unless they were hidden.
  if (!proxy_->widget()) {
    proxy_->setWidget(holder_);
    // The page's corner is the scene's origin.
    proxy_->setPos(-pageLeft_, 0);
  }
  QGraphicsView::showEvent(event);
}

void PageViewport::SyncPage() {
  holder_->resize(pageLeft_ + canvas_->width(), canvas_->height());
  scene()->setSceneRect(0, 0, canvas_->width(), canvas_->height());
}

bool PageViewport::eventFilter(QObject* watched, QEvent* event) {
  if (watched == canvas_ && event->type() == QEvent::Resize) SyncPage();
  return false;
}

int PageViewport::StepFrom(int percent, int direction) {
  if (direction > 0) {
    for (int step : kSteps)
      if (step > percent) return step;
    return kMaxZoom;
  }
  for (auto it = std::rbegin(kSteps); it != std::rend(kSteps); ++it)
    if (*it < percent) return *it;
  return kMinZoom;
}

void PageViewport::SetZoom(int percent, QPoint anchor) {
  percent = std::clamp(percent, kMinZoom, kMaxZoom);
  if (percent == zoom_) return;
  // The page point under the anchor, in page pixels.
  const QPointF at((anchor.x() + horizontalScrollBar()->value()) * 100.0 / zoom_,
                   (anchor.y() + verticalScrollBar()->value()) * 100.0 / zoom_);
  zoom_ = percent;
  setTransform(QTransform::fromScale(zoom_ / 100.0, zoom_ / 100.0));
  horizontalScrollBar()->setValue(qRound(at.x() * zoom_ / 100.0) - anchor.x());
  verticalScrollBar()->setValue(qRound(at.y() * zoom_ / 100.0) - anchor.y());
  emit ZoomChanged(zoom_);
  emit Scrolled();
}

QPoint PageViewport::PageAt(QPoint point) const {
  // The page pixel whose scaled square holds the centre of the viewport's pixel: what the view
  // draws there. A centre on the border of two squares shows the first, as Qt's scaling draws
  // it. Whole numbers throughout, so no zoom rounds a pixel into its neighbour.
  const long long x = point.x() + horizontalScrollBar()->value();
  const long long y = point.y() + verticalScrollBar()->value();
  return QPoint(FloorDiv((2 * x + 1) * 100 - 1, 2LL * zoom_),
                FloorDiv((2 * y + 1) * 100 - 1, 2LL * zoom_));
}

void PageViewport::ShowArea(const QRect& area, int margin) {
  // Before the window is shown the viewport has no size to fit anything into.
  if (!isVisible()) return;
  const QRect wanted = area.adjusted(-margin, -margin, margin, margin);
  auto scaled = [this](int v) { return int(std::floor(v * zoom_ / 100.0)); };
  auto scaledEnd = [this](int v) { return int(std::ceil(v * zoom_ / 100.0)); };
  QScrollBar* h = horizontalScrollBar();
  QScrollBar* v = verticalScrollBar();
  h->setValue(LeastScroll(h->value(), viewport()->width(), scaled(wanted.left()),
                          scaledEnd(wanted.right() + 1)));
  v->setValue(LeastScroll(v->value(), viewport()->height(), scaled(wanted.top()),
                          scaledEnd(wanted.bottom() + 1)));
}

void PageViewport::ShowFromRow(int top) {
  verticalScrollBar()->setValue(int(std::floor(top * zoom_ / 100.0)));
}

double PageViewport::VerticalFraction() const {
  const QScrollBar* v = verticalScrollBar();
  return v->maximum() > 0 ? double(v->value()) / v->maximum() : 0.0;
}

void PageViewport::SetVerticalFraction(double fraction) {
  QScrollBar* v = verticalScrollBar();
  v->setValue(qRound(fraction * v->maximum()));
}

void PageViewport::wheelEvent(QWheelEvent* event) {
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  if (modifiers & Qt::ControlModifier) {
    wheelZoomDelta_ += event->angleDelta().y();
    const int steps = wheelZoomDelta_ / kNotch;
    wheelZoomDelta_ -= steps * kNotch;
    int percent = zoom_;
    for (int i = 0; i < std::abs(steps); ++i) percent = StepFrom(percent, steps > 0 ? 1 : -1);
    SetZoom(percent, event->position().toPoint());
    event->accept();
    return;
  }
  if (modifiers & Qt::ShiftModifier) {
    // Sideways, whichever way the wheel turns.
    const QPoint delta = event->angleDelta();
    const int turn = delta.x() != 0 ? delta.x() : delta.y();
    QScrollBar* h = horizontalScrollBar();
    h->setValue(h->value() - turn * h->singleStep() * 3 / kNotch);
    event->accept();
    return;
  }
  QGraphicsView::wheelEvent(event);
}

void PageViewport::scrollContentsBy(int dx, int dy) {
  QGraphicsView::scrollContentsBy(dx, dy);
  emit Scrolled();
}

}  // namespace tarvesh::kit
