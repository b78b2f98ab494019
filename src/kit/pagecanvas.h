#pragma once

#include <QLine>
#include <QWidget>
#include <functional>
#include <vector>

#include "kit/mouseevents.h"
#include "page/scorepage.h"

namespace tarvesh::kit {

// The page on screen (`Picture1`): shows the page bitmap, one pixel per page pixel at a zoom of
// 100 %, and turns key events into virtual-key codes for the key handler.
class PageCanvas : public QWidget {
  Q_OBJECT

 public:
  PageCanvas(page::ScorePage& page, QWidget* parent);

  page::ScorePage& Page() { return page_; }
  MouseEvents* Mouse() const { return mouse_; }
  // Follows the page bitmap's size.
  void SyncSize();
  // Marks drawn over the page on screen only, asked for again at the next paint after
  // MarksChanged; never part of the page bitmap.
  void SetMarks(std::function<std::vector<QLine>()> marks) { marks_ = std::move(marks); }
  void MarksChanged() { marksStale_ = true; }

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
  // Repaints where the marks changed.
  void RefreshMarks();

  page::ScorePage& page_;
  MouseEvents* mouse_;
  std::function<std::vector<QLine>()> marks_;
  std::vector<QLine> shownMarks_;
  bool marksStale_ = true;
};

}  // namespace tarvesh::kit
