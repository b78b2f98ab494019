#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

class QComboBox;
class QListWidget;
class QScrollBar;
class QWidget;

namespace tarvesh::kit {
class ControlRegistry;
class LabelControl;
}  // namespace tarvesh::kit

namespace tarvesh::titleblock {

// The tempo of the page (`Label2(4)`) with its metronome slider `HScroll1` and tempo list
// `List2`, and the tempo of a new title (`Label2(8)`, `HScroll3`, `Combo4`). The tempo is only
// the label's text.
class Tempo : public QObject {
  Q_OBJECT

 public:
  Tempo(QWidget* canvas, QWidget* newTitlePanel, kit::ControlRegistry& controls,
        std::function<void()> focusPage);

  // Adds the tempo texts to both lists, in order.
  void AddTempoTexts(const QStringList& texts);
  // A mouse-down on the page's tempo label: the slider (left button) or the list (right).
  void OpenPickers(int button);
  void ParkPickers();

  kit::LabelControl* PageTempo() const { return label2_4_; }
  kit::LabelControl* NewTitleTempo() const { return label2_8_; }

 private:
  std::function<void()> focusPage_;
  kit::LabelControl* label2_4_;
  kit::LabelControl* label2_8_;
  QScrollBar* hscroll1_;
  QScrollBar* hscroll3_;
  QListWidget* list2_;
  QComboBox* combo4_;
};

// "每分钟" + beats + "拍".
QString MetronomeText(int beatsPerMinute);

}  // namespace tarvesh::titleblock
