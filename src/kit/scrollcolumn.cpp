#include "kit/scrollcolumn.h"

#include <QChildEvent>
#include <QScrollBar>
#include <QWheelEvent>

namespace tarvesh::kit {

namespace {
constexpr int kBarWidth = 16;
// Room under the lowest control.
constexpr int kBottomRoom = 4;
// Pixels one wheel notch moves the column.
constexpr int kNotchPixels = 48;
}  // namespace

ScrollColumn::ScrollColumn(QWidget* window, int width, int barLeft, int barTop)
    : QWidget(window), bar_(new QScrollBar(Qt::Vertical, window)) {
  setObjectName(QStringLiteral("CommandColumn"));
  resize(width, 0);
  bar_->setObjectName(QStringLiteral("CommandColumnBar"));
  bar_->setGeometry(barLeft, barTop, kBarWidth, 0);
  bar_->setSingleStep(kNotchPixels / 3);
  bar_->hide();
  connect(bar_, &QScrollBar::valueChanged, this, [this](int value) { move(0, -value); });
}

void ScrollColumn::Fit(int windowHeight) {
  windowHeight_ = windowHeight;
  // Hidden controls (the batch's progress strip between batches) take no room.
  const int contentHeight = childrenRect().bottom() + 1 + kBottomRoom;
  resize(width(), contentHeight);
  const int overflow = std::max(contentHeight - windowHeight, 0);
  bar_->setRange(0, overflow);
  bar_->setPageStep(windowHeight);
  bar_->setGeometry(bar_->x(), bar_->y(), kBarWidth, std::max(windowHeight - bar_->y(), 0));
  bar_->setVisible(overflow > 0);
  move(0, -bar_->value());
}

void ScrollColumn::childEvent(QChildEvent* event) {
  if (event->added()) event->child()->installEventFilter(this);
  QWidget::childEvent(event);
}

bool ScrollColumn::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched->parent() == this &&
      (type == QEvent::ShowToParent || type == QEvent::HideToParent || type == QEvent::Move ||
       type == QEvent::Resize) &&
      windowHeight_ > 0)
    Fit(windowHeight_);
  return false;
}

void ScrollColumn::wheelEvent(QWheelEvent* event) {
  bar_->setValue(bar_->value() - event->angleDelta().y() * kNotchPixels / 120);
  event->accept();
}

}  // namespace tarvesh::kit
