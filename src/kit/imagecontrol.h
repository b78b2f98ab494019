#pragma once

#include <QLabel>
#include <QPixmap>

#include "kit/mouseevents.h"

namespace tarvesh::kit {

// A picture shown at its natural size, with the name of the file it came from.
class ImageControl : public QLabel {
  Q_OBJECT

 public:
  ImageControl(const QString& name, QWidget* parent);

  // Shows the picture of `path`; an unreadable file shows nothing. Returns whether it loaded.
  bool LoadPicture(const QString& path);
  void SetPicture(const QPixmap& picture, const QString& file);
  QString File() const { return file_; }
  QPixmap Picture() const { return picture_; }
  void SetBorder(bool border);
  bool Border() const { return border_; }
  MouseEvents* Mouse() const { return mouse_; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  MouseEvents* mouse_;
  QPixmap picture_;
  QString file_;
  bool border_ = false;
};

}  // namespace tarvesh::kit
