#include "kit/picturebox.h"

#include <QPainter>

namespace tarvesh::kit {

PictureBox::PictureBox(const QString& name, QWidget* parent, bool white)
    : QWidget(parent), mouse_(new MouseEvents(this)), white_(white) {
  setObjectName(name);
  setAutoFillBackground(true);
  if (white) {
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
  }
}

void PictureBox::ResizeBitmap(int width, int height) {
  QImage resized(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
  resized.fill(Qt::white);
  if (!bitmap_.isNull()) {
    QPainter painter(&resized);
    painter.drawImage(0, 0, bitmap_);
  }
  bitmap_ = resized;
  resize(width, height);
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!bitmap_.isNull()) {
    painter.drawImage(0, 0, bitmap_);
  } else if (!white_) {
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
  mouse_->Press(event);
}
void PictureBox::mouseMoveEvent(QMouseEvent* event) {
  mouse_->Move(event);
}
void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
  mouse_->Release(event);
}

}  // namespace tarvesh::kit
