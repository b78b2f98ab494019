#pragma once

#include <QLabel>

#include "kit/mouseevents.h"

namespace tarvesh::kit {

// A caption on the window or the page. An auto-sized label takes the size of its text; a
// transparent one lets the page show through around the text.
class LabelControl : public QLabel {
  Q_OBJECT

 public:
  LabelControl(const QString& name, const QString& caption, QWidget* parent, bool autoSize = true);

  void SetCaption(const QString& caption);
  QString Caption() const { return text(); }
  void SetForeColour(const QColor& colour);
  QColor ForeColour() const { return foreColour_; }
  void SetTransparent(bool transparent);
  void SetBorder(bool border);
  MouseEvents* Mouse() const { return mouse_; }

 signals:
  void CaptionChanged(const QString& caption);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  MouseEvents* mouse_;
  QColor foreColour_{0, 0, 0};
  bool autoSize_;
};

}  // namespace tarvesh::kit
