#pragma once

#include <QGraphicsProxyWidget>
#include <QPoint>
#include <functional>

namespace tarvesh::kit {

// Carries the page's widgets into the page view. A pointer's position reaches them as the page
// pixel the view shows under it, the same whole pixel at every zoom, rather than the fraction of
// a pixel that the scaling would give.
class PageProxy : public QGraphicsProxyWidget {
 public:
  // `pageAt` maps a point of the view's viewport to a point of the embedded widget.
  explicit PageProxy(std::function<QPoint(QPoint)> pageAt);

 protected:
  void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
  void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
  void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;
  void mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event) override;
  void hoverEnterEvent(QGraphicsSceneHoverEvent* event) override;
  void hoverMoveEvent(QGraphicsSceneHoverEvent* event) override;

 private:
  template <typename Event>
  void Snap(Event* event) const;

  std::function<QPoint(QPoint)> pageAt_;
};

}  // namespace tarvesh::kit
