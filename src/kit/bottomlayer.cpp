#include "kit/bottomlayer.h"

#include <QEvent>

namespace tarvesh::kit {

BottomLayer::BottomLayer(QWidget* window, int startHeight)
    : QWidget(window), startHeight_(startHeight) {
  setObjectName(QStringLiteral("BottomLayer"));
  hide();
}

void BottomLayer::Hold(QWidget* panel) {
  panel_ = panel;
  const bool hidden = panel->isHidden();
  panel->setParent(this);
  if (!hidden) panel->show();
  panel->installEventFilter(this);
  Follow();
}

void BottomLayer::Fit(int windowHeight) {
  move(0, windowHeight - startHeight_);
}

bool BottomLayer::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
    case QEvent::Move:
    case QEvent::Resize:
      if (watched == panel_) Follow();
      break;
    default:
      break;
  }
  return false;
}

void BottomLayer::Follow() {
  const QRect box = panel_->geometry();
  resize(box.right() + 1, std::max(box.bottom() + 1, startHeight_));
  setMask(box);
  setVisible(!panel_->isHidden());
}

}  // namespace tarvesh::kit
