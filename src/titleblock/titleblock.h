#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <map>

class QComboBox;
class QPushButton;
class QWidget;

namespace tarvesh::score {
class ScoreDocument;
}

namespace tarvesh::kit {
class ControlRegistry;
class Dialogs;
class LabelControl;
class LineControl;
class PictureBox;
}  // namespace tarvesh::kit

namespace tarvesh::titleblock {

class Tempo;

// The head of the page (title, key, time signature, credit), the working time signature in the
// command column that the engine counts with, and the new-title panel `Picture8`. Labels
// `Label2(i)` are edited with their pickers `Combo1(i)`. The title and the credit sit where the
// document's last layout put them.
class TitleBlock : public QObject {
  Q_OBJECT

 public:
  struct Context {
    score::ScoreDocument& document;
    kit::Dialogs& dialogs;
    kit::ControlRegistry& controls;
    QWidget* canvas;
    QWidget* commandColumn;
    QWidget* form;
    std::function<void()> focusPage;
  };

  explicit TitleBlock(const Context& context);

  // Tempo pickers are parked together with the title block's; a mouse-down on a tempo label is
  // handled like one on any other head label.
  void SetTempo(Tempo* tempo);
  // Fills the pickers and selects their start entries, as start-up does.
  void FillPickers();
  // Parks every picker of the title block out of sight.
  void HidePickers();

  kit::LabelControl* Title() const { return label1_; }
  kit::LabelControl* Label2(int index) const { return label2_.at(index); }
  QComboBox* Combo1(int index) const { return combo1_.at(index); }
  kit::PictureBox* NewTitlePanel() const { return picture8_; }
  // The right margin line that a right-click on the title moves.
  void SetMarginLine(kit::LineControl* line3) { line3_ = line3; }
  // The staff key list that confirming a new title selects in.
  void SetStaffKeyList(QComboBox* combo2) { combo2_ = combo2; }

 private:
  void OnPickerSelected(int index);
  void OnHeadLabelMouseDown(int index, int button);
  void OpenPicker(int index);
  void AskCredit(int index);
  void OnTitleMouseDown(int button, double x);
  void AskTitle();
  void AskNewTitle();
  // Command11: prints the new title block into the page at the cursor's line.
  void PrintNewTitle();
  void SelectStaffKey(const QString& key);

  Context context_;
  Tempo* tempo_ = nullptr;
  kit::LabelControl* label1_;
  kit::LabelControl* label14_;
  std::map<int, kit::LabelControl*> label2_;
  std::map<int, QComboBox*> combo1_;
  kit::PictureBox* picture8_;
  QPushButton* command11_;
  QPushButton* command12_;
  kit::LineControl* line3_ = nullptr;
  QComboBox* combo2_ = nullptr;
};

}  // namespace tarvesh::titleblock
