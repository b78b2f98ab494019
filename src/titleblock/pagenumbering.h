#pragma once

#include <QObject>

class QWidget;

namespace tarvesh::score {
class ScoreDocument;
}
namespace tarvesh::kit {
class ControlRegistry;
class Dialogs;
class LabelControl;
}  // namespace tarvesh::kit

namespace tarvesh::titleblock {

// The page number at the bottom of the page (`Label16`), made from the pattern `Label18` in
// which every "p" stands for the number.
class PageNumbering : public QObject {
  Q_OBJECT

 public:
  PageNumbering(score::ScoreDocument& document, kit::Dialogs& dialogs, QWidget* canvas,
                QWidget* optionsPanel, kit::ControlRegistry& controls);

  kit::LabelControl* Label() const { return label16_; }
  kit::LabelControl* PatternLabel() const { return label18_; }
  // Sets the number and shows the pattern with it, as an entry or an open does.
  void SetPageNumber(int number);

 private:
  void AskNumber();
  void AskPattern();

  score::ScoreDocument& document_;
  kit::Dialogs& dialogs_;
  kit::LabelControl* label16_;
  kit::LabelControl* label18_;
};

}  // namespace tarvesh::titleblock
