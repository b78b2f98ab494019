#pragma once

#include <QImage>
#include <QWidget>

#include "kit/mouseevents.h"

namespace tarvesh::kit {

// A container panel or an off-screen work picture. A work picture holds a bitmap of its own
// size that operations read and write; a panel only holds controls.
class PictureBox : public QWidget {
  Q_OBJECT

 public:
  PictureBox(const QString& name, QWidget* parent, bool white = false);

  QImage& Bitmap() { return bitmap_; }
  const QImage& Bitmap() const { return bitmap_; }
  // Resizes the control and its bitmap; the bitmap keeps its top-left content, new parts white.
  void ResizeBitmap(int width, int height);
  MouseEvents* Mouse() const { return mouse_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  MouseEvents* mouse_;
  QImage bitmap_;
  bool white_;
};

}  // namespace tarvesh::kit
