#pragma once

#include <QGraphicsView>
#include <QPoint>
#include <QRect>

namespace tarvesh::kit {

class PageCanvas;
class PageProxy;

// The page area of the window: the page (`Picture1`, with all that lies on it) shown at a zoom
// from 50 % to 400 %, with scroll bars wherever it does not fit. Zooming and scrolling only show
// the page: it keeps its box in the window's coordinates, and every pointer position reaches it
// as the page pixel shown under the pointer. The wheel scrolls, Shift+wheel scrolls sideways and
// Ctrl+wheel zooms around the pointer.
class PageViewport : public QGraphicsView {
  Q_OBJECT

 public:
  static constexpr int kMinZoom = 50;
  static constexpr int kMaxZoom = 400;
  // The zooms the zoom box offers and the zoom keys and the wheel step through.
  static constexpr int kSteps[] = {50, 75, 100, 125, 150, 200, 300, 400};

  // Takes `canvas`, which must have no parent yet, and keeps it at (`pageLeft`, 0) of the
  // window's coordinates.
  PageViewport(PageCanvas* canvas, int pageLeft, QWidget* parent);

  int Zoom() const { return zoom_; }
  // Sets the zoom, `percent` clamped to 50..400, keeping the page point under `anchor` (a point
  // of the viewport) where it is.
  void SetZoom(int percent, QPoint anchor);
  // The step after (`direction` 1) or before (-1) `percent`, within 50..400.
  static int StepFrom(int percent, int direction);

  // The page pixel shown at `point` of the viewport.
  QPoint PageAt(QPoint point) const;
  // Scrolls the least needed so that `area` of the page, with `margin` page pixels around it,
  // is in view (its top-left corner first, when the view is too small for it).
  void ShowArea(const QRect& area, int margin);
  // Shows the page from page row `top` down, as far as the page's end allows.
  void ShowFromRow(int top);
  // The vertical scroll position from 0 (the page's top) to 1 (its end in view); 0 when the page
  // fits.
  double VerticalFraction() const;
  void SetVerticalFraction(double fraction);

 signals:
  void ZoomChanged(int percent);
  void Scrolled();

 protected:
  void wheelEvent(QWheelEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Follows the page's size.
  void SyncPage();

  PageCanvas* canvas_;
  QWidget* holder_;
  PageProxy* proxy_;
  int pageLeft_;
  int zoom_ = 100;
  // Ctrl+wheel turns not yet worth a zoom step (fine-grained wheels send parts of a notch).
  int wheelZoomDelta_ = 0;
};

}  // namespace tarvesh::kit
