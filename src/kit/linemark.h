#pragma once

#include <QColor>
#include <QLine>
#include <QObject>
#include <QRect>

namespace tarvesh::kit {

class PageCanvas;

// A named line over the page that its canvas draws: a control in the registry, with the box,
// visibility and ends a line control has, but no widget of its own. The window keeps hundreds
// of guide marks, and a widget each made its start and its close slow. Owned by the canvas.
class LineMark : public QObject {
  Q_OBJECT

 public:
  LineMark(const QString& name, PageCanvas* canvas, const QColor& colour);

  void SetLine(const QLine& line);
  void SetShown(bool shown);
  QLine Line() const { return line_; }
  QColor Colour() const { return colour_; }
  bool IsShown() const { return shown_; }
  // The box a line control over the same ends has (LineBox).
  QRect Box() const { return box_; }

 private:
  void Repaint();

  PageCanvas* canvas_;
  QColor colour_;
  QLine line_;
  // Before its ends are first set, the box a new child widget has, as scripts have always read.
  QRect box_{0, 0, 100, 30};
  bool shown_ = false;
};

}  // namespace tarvesh::kit
