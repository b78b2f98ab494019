#pragma once

#include <QObject>
#include <functional>
#include <vector>

class QCheckBox;
class QWidget;

namespace tarvesh::page {
class ScorePage;
}

namespace tarvesh::kit {
class ControlRegistry;
class LabelControl;
class LineControl;
}  // namespace tarvesh::kit

namespace tarvesh::settings {

// The page layout: page size from the sliders, the right margin line `Line3`, the pool of grey
// guide marks `Line2` and their switch "显示辅助线" (`Check2`), and the page furniture that
// follows the page size (title width, credit, page number).
class GuideLines : public QObject {
  Q_OBJECT

 public:
  static constexpr int kPoolSize = 889;

  struct Sliders {
    std::function<int()> barWidth;
    std::function<int()> barsPerLine;
    std::function<int()> lineSpacing;
  };
  struct Followers {
    kit::LabelControl* title = nullptr;       // Label1, spans the page
    kit::LabelControl* credit = nullptr;      // Label2(5), ends 32 pixels from the right edge
    kit::LabelControl* pageNumber = nullptr;  // Label16, bottom centre
  };

  GuideLines(page::ScorePage& page, QWidget* canvas, QWidget* commandColumn,
             kit::ControlRegistry& controls, Sliders sliders, std::function<void()> focusPage);

  void SetFollowers(const Followers& followers) { followers_ = followers; }
  // Lays the page out from the sliders.
  void DrawGuideLines();
  kit::LineControl* MarginLine() const { return line3_; }
  QCheckBox* Check2() const { return check2_; }

 private:
  void OnCheck2();

  page::ScorePage& page_;
  Sliders sliders_;
  std::function<void()> focusPage_;
  Followers followers_;
  std::vector<kit::LineControl*> line2_;
  kit::LineControl* line3_;
  QCheckBox* check2_;
};

}  // namespace tarvesh::settings
