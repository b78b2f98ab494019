#pragma once

#include <QLine>
#include <QRect>
#include <QWidget>

namespace tarvesh::kit {

// The box of a line from one end to the other, both ends inside it.
QRect LineBox(const QLine& line);

// A straight line lying over its container, given by its two end points in the container's
// pixels. It takes no mouse events.
class LineControl : public QWidget {
  Q_OBJECT

 public:
  LineControl(const QString& name, QWidget* parent, const QColor& colour = Qt::black);

  void SetLine(int x1, int y1, int x2, int y2);
  void SetX(int x) { SetLine(x, y1_, x, y2_); }
  int X1() const { return x1_; }
  int Y1() const { return y1_; }
  int X2() const { return x2_; }
  int Y2() const { return y2_; }
  QColor Colour() const { return colour_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor colour_;
  int x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
};

}  // namespace tarvesh::kit
