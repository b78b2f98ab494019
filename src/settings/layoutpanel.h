#pragma once

#include <QObject>
#include <array>
#include <functional>

class QCheckBox;
class QScrollBar;
class QWidget;

namespace tarvesh::score {
class ScoreDocument;
}

namespace tarvesh::kit {
class ControlRegistry;
class LabelControl;
class PictureBox;
}  // namespace tarvesh::kit

namespace tarvesh::settings {

// The layout sliders of the command column (`HScroll2` with their captions `Label4`), the
// duration switches `Check5`, and the options panel `Picture2` with the note spacings, the beat
// gap and the option switches: views and editors of the document's layout.
class LayoutPanel : public QObject {
  Q_OBJECT

 public:
  LayoutPanel(score::ScoreDocument& document, QWidget* form, QWidget* commandColumn,
              kit::ControlRegistry& controls, std::function<void()> relayout,
              std::function<void()> focusPage);

  kit::PictureBox* OptionsPanel() const { return picture2_; }
  QScrollBar* Slider(int index) const { return hscroll2_[index]; }
  bool DurationSwitch(int row) const;

  QCheckBox* Check3() const { return check3_; }
  QCheckBox* Check4() const { return check4_; }
  QCheckBox* Check8() const { return check8_; }
  QCheckBox* Check10() const { return check10_; }
  QCheckBox* Check11() const { return check11_; }

 private:
  void OnSliderChanged(int index);
  void OnSpacingClicked(int index);
  void OnDurationSwitch(int index);
  void ShowSpacing(int index);

  score::ScoreDocument& document_;
  std::function<void()> relayout_;
  std::function<void()> focusPage_;
  std::array<QScrollBar*, 4> hscroll2_{};
  std::array<kit::LabelControl*, 4> label4_{};
  std::array<kit::LabelControl*, 5> label6_{};
  std::array<kit::LabelControl*, 5> label6s_{};
  std::array<QCheckBox*, 4> check5_{};
  kit::PictureBox* picture2_;
  QCheckBox* check3_;
  QCheckBox* check4_;
  QCheckBox* check8_;
  QCheckBox* check10_;
  QCheckBox* check11_;
};

}  // namespace tarvesh::settings
