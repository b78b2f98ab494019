#pragma once

#include <QObject>
#include <functional>
#include <vector>

class QCheckBox;
class QWidget;

namespace tarvesh::score {
class ScoreDocument;
}

namespace tarvesh::kit {
class ControlRegistry;
class LineControl;
class LineMark;
class PageCanvas;
}  // namespace tarvesh::kit

namespace tarvesh::settings {

// The page layout: the document lays the page out for its sliders' values (page size, and the
// title width, credit and page number that follow it); this shows the right margin line
// `Line3`, the pool of grey guide marks `Line2` and their switch "显示辅助线" (`Check2`).
class GuideLines : public QObject {
  Q_OBJECT

 public:
  static constexpr int kPoolSize = 889;

  GuideLines(score::ScoreDocument& document, kit::PageCanvas* canvas, QWidget* commandColumn,
             kit::ControlRegistry& controls, std::function<void()> focusPage);

  // Lays the page out from the sliders.
  void DrawGuideLines();
  kit::LineControl* MarginLine() const { return line3_; }
  QCheckBox* Check2() const { return check2_; }

 private:
  void OnCheck2();

  score::ScoreDocument& document_;
  std::function<void()> focusPage_;
  std::vector<kit::LineMark*> line2_;
  kit::LineControl* line3_;
  QCheckBox* check2_;
};

}  // namespace tarvesh::settings
