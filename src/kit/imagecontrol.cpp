#include "kit/imagecontrol.h"

#include <QFileInfo>

namespace tarvesh::kit {

ImageControl::ImageControl(const QString& name, QWidget* parent)
    : QLabel(parent), mouse_(new MouseEvents(this)) {
  setObjectName(name);
  setMargin(0);
  setAttribute(Qt::WA_TranslucentBackground);
}

bool ImageControl::LoadPicture(const QString& path) {
  QPixmap picture(path);
  SetPicture(picture, picture.isNull() ? QString() : QFileInfo(path).fileName());
  return !picture.isNull();
}

void ImageControl::SetPicture(const QPixmap& picture, const QString& file) {
  picture_ = picture;
  file_ = file;
  setPixmap(picture);
  const int frame = border_ ? 2 : 0;
  resize(picture.isNull() ? QSize(0, 0) : picture.size() + QSize(frame, frame));
}

void ImageControl::SetBorder(bool border) {
  border_ = border;
  setFrameStyle(border ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
  setLineWidth(1);
  SetPicture(picture_, file_);
}

void ImageControl::mousePressEvent(QMouseEvent* event) {
  mouse_->Press(event);
}
void ImageControl::mouseMoveEvent(QMouseEvent* event) {
  mouse_->Move(event);
}
void ImageControl::mouseReleaseEvent(QMouseEvent* event) {
  mouse_->Release(event);
}
void ImageControl::mouseDoubleClickEvent(QMouseEvent* event) {
  mouse_->DoubleClick(event);
}

}  // namespace tarvesh::kit
