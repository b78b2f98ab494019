#pragma once

#include <QWidget>

class QScrollBar;

namespace tarvesh::kit {

// The command column: the controls left of the page, in the window's own coordinates, moved up
// and down as one when the window is shorter than they reach. Its scroll bar stands in the strip
// between the column and the page, from `barTop` down, only while it is needed; the wheel over
// the column scrolls it too.
class ScrollColumn : public QWidget {
  Q_OBJECT

 public:
  ScrollColumn(QWidget* window, int width, int barLeft, int barTop);

  // Fits the column to a window `windowHeight` high.
  void Fit(int windowHeight);
  QScrollBar* Bar() const { return bar_; }

 protected:
  void childEvent(QChildEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  QScrollBar* bar_;
  int windowHeight_ = 0;
};

}  // namespace tarvesh::kit
