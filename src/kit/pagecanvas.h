#pragma once

#include <QWidget>

#include "kit/mouseevents.h"
#include "page/scorepage.h"

namespace tarvesh::kit {

// The page on screen (`Picture1`): shows the page bitmap at one pixel per page pixel and turns
// key events into virtual-key codes for the key handler.
class PageCanvas : public QWidget {
  Q_OBJECT

 public:
  PageCanvas(page::ScorePage& page, QWidget* parent);

  page::ScorePage& Page() { return page_; }
  MouseEvents* Mouse() const { return mouse_; }
  // Follows the page bitmap's size.
  void SyncSize();

 signals:
  void KeyDown(int keyCode, int shift);
  void KeyUp(int keyCode, int shift);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  page::ScorePage& page_;
  MouseEvents* mouse_;
};

}  // namespace tarvesh::kit
