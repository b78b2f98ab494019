#pragma once

#include <QWidget>

namespace tarvesh::kit {

// A rectangle outline lying over the page (the selection rectangle, the eraser square, the slur
// mark). It takes no mouse events. A pressed shape is drawn filled, so it looks different while
// a button is held.
class ShapeControl : public QWidget {
  Q_OBJECT

 public:
  ShapeControl(const QString& name, QWidget* parent, const QColor& colour);

  QColor Colour() const { return colour_; }
  void SetPressed(bool pressed);
  bool Pressed() const { return pressed_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor colour_;
  bool pressed_ = false;
};

}  // namespace tarvesh::kit
