#pragma once

#include <QLine>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "kit/mouseevents.h"
#include "page/scorepage.h"

class QPainter;

namespace tarvesh::kit {

class LineMark;

// The page on screen (`Picture1`): shows the page bitmap, one pixel per page pixel at a zoom of
// 100 %, and turns key events into virtual-key codes for the key handler. While it takes text,
// what a key types and what an input method commits come out as text instead.
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
  // Drawn over the page on screen after the page's pixels, in page pixels.
  void SetOverPainter(std::function<void(QPainter&)> over) { over_ = std::move(over); }
  // Drawn last, where shown; `mark` is the canvas's child.
  void AddLineMark(const LineMark* mark) { lineMarks_.push_back(mark); }
  // Where the page is shown larger than its pixels (a zoom above 100 %, a high-density screen),
  // a region of it as `sharp` gives it at `scale` times its pixels is drawn instead of squares of
  // page pixels.
  void SetSharpSource(int scale, std::function<QImage(const QRect& pageRect)> sharp) {
    sharpScale_ = scale;
    sharp_ = std::move(sharp);
  }

  // Taking text: a key that types printable text without Ctrl or Alt gives TextTyped, and the
  // system's input methods are on. `caret` is where the next text goes, for the input method's
  // window; what the input method composes is shown there until committed.
  void SetTextEntry(bool on);
  void SetCaret(const QRect& caret);
  const QString& Composing() const { return composing_; }
  QRect Caret() const { return caret_; }
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

 signals:
  void KeyDown(int keyCode, int shift);
  void KeyUp(int keyCode, int shift);
  void TextTyped(const QString& text);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  void inputMethodEvent(QInputMethodEvent* event) override;

 private:
  // Repaints where the marks changed.
  void RefreshMarks();

  page::ScorePage& page_;
  MouseEvents* mouse_;
  std::function<std::vector<QLine>()> marks_;
  std::vector<QLine> shownMarks_;
  bool marksStale_ = true;
  std::function<void(QPainter&)> over_;
  std::vector<const LineMark*> lineMarks_;
  int sharpScale_ = 1;
  std::function<QImage(const QRect&)> sharp_;
  bool textEntry_ = false;
  QRect caret_;
  QString composing_;
};

}  // namespace tarvesh::kit
