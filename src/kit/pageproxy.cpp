#include "kit/pageproxy.h"

#include <QGraphicsSceneHoverEvent>
#include <QGraphicsSceneMouseEvent>
#include <QWidget>

namespace tarvesh::kit {

PageProxy::PageProxy(std::function<QPoint(QPoint)> pageAt) : pageAt_(std::move(pageAt)) {}

template <typename Event>
void PageProxy::Snap(Event* event) const {
  // The viewport's own pixel is exact; the scene position is a scaled fraction of it.
  const QWidget* viewport = event->widget();
  if (!viewport) return;
  event->setPos(QPointF(pageAt_(viewport->mapFromGlobal(event->screenPos()))));
}

void PageProxy::mousePressEvent(QGraphicsSceneMouseEvent* event) {
  Snap(event);
  QGraphicsProxyWidget::mousePressEvent(event);
}
void PageProxy::mouseMoveEvent(QGraphicsSceneMouseEvent* event) {
  Snap(event);
  QGraphicsProxyWidget::mouseMoveEvent(event);
}
void PageProxy::mouseReleaseEvent(QGraphicsSceneMouseEvent* event) {
  Snap(event);
  QGraphicsProxyWidget::mouseReleaseEvent(event);
}
void PageProxy::mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event) {
  Snap(event);
  QGraphicsProxyWidget::mouseDoubleClickEvent(event);
}
void PageProxy::hoverEnterEvent(QGraphicsSceneHoverEvent* event) {
  Snap(event);
  QGraphicsProxyWidget::hoverEnterEvent(event);
}
void PageProxy::hoverMoveEvent(QGraphicsSceneHoverEvent* event) {
  Snap(event);
  QGraphicsProxyWidget::hoverMoveEvent(event);
}

}  // namespace tarvesh::kit
