#pragma once

#include <QObject>

#include <QPointF>
#include <optional>

class QMouseEvent;
class QWidget;

namespace tarvesh::kit {

// The mouse events every clickable control reports, with buttons and shift state as bits and
// the position in the control's own pixels. Click follows a release over the control that was
// pressed. A position is clamped to the control before anything reads it, so a pointer dragged
// far off (or a script's huge number) costs nothing more than one at the edge; an event at a
// position that is not a finite number is dropped.
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
  // The event's position clamped to the control; nothing when it is not finite.
  std::optional<QPointF> Position(const QMouseEvent* event) const;

  QWidget* owner_;
  bool pressed_ = false;
};

}  // namespace tarvesh::kit
