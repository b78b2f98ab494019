#pragma once

#include <QObject>

class QMouseEvent;
class QWidget;

namespace tarvesh::kit {

// The mouse events every clickable control reports, with buttons and shift state as bits and
// the position in the control's own pixels. Click follows a release over the control that was
// pressed.
class MouseEvents : public QObject {
  Q_OBJECT

 public:
  explicit MouseEvents(QWidget* owner);

  void Press(QMouseEvent* event);
  void Move(QMouseEvent* event);
  void Release(QMouseEvent* event);
  void DoubleClick(QMouseEvent* event);

 signals:
  void MouseDown(int button, int shift, double x, double y);
  void MouseMove(int button, int shift, double x, double y);
  void MouseUp(int button, int shift, double x, double y);
  void Click();
  void DblClick();

 private:
  QWidget* owner_;
  bool pressed_ = false;
};

}  // namespace tarvesh::kit
