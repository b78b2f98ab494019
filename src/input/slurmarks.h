#pragma once

#include <QObject>
#include <QPointF>
#include <optional>

class QWidget;

namespace tarvesh::page {
class ScorePage;
}

namespace tarvesh::kit {
class ControlRegistry;
class ImageControl;
class LabelControl;
}  // namespace tarvesh::kit

namespace tarvesh::input {

// Slurs and ties: the first press of L marks the cell at the cursor (`Label8`), the second
// draws the arc picture `Image4` into the page bitmap, stretched over the notes the two presses
// enclose, in two halves when they lie on different lines.
class SlurMarks : public QObject {
  Q_OBJECT

 public:
  SlurMarks(page::ScorePage& page, const QImage& arc, QWidget* canvas,
            kit::ControlRegistry& controls);

  // The key L. `noteEndBeforeBarLine`: where the last note ends when the cursor stands right
  // after a bar line the engine placed by itself behind it (GlyphEngine::NoteEndBeforeAutoBarLine).
  void MarkOrDraw(const std::optional<QPointF>& noteEndBeforeBarLine);
  bool Begun() const;

 private:
  page::ScorePage& page_;
  kit::LabelControl* label8_;
  kit::ImageControl* image4_;
};

}  // namespace tarvesh::input
