#pragma once

#include <QObject>

class QWidget;

namespace tarvesh::kit {
class ControlRegistry;
class Dialogs;
class LabelControl;
struct WindowState;
}  // namespace tarvesh::kit

namespace tarvesh::titleblock {

// The page number at the bottom of the page (`Label16`), made from the pattern `Label18` in
// which every "p" stands for the number.
class PageNumbering : public QObject {
  Q_OBJECT

 public:
  PageNumbering(kit::WindowState& window, kit::Dialogs& dialogs, QWidget* canvas,
                QWidget* optionsPanel, kit::ControlRegistry& controls);

  kit::LabelControl* Label() const { return label16_; }
  // Sets the number and shows the pattern with it, as an entry or an open does.
  void SetPageNumber(int number);

 private:
  void AskNumber();
  void AskPattern();

  kit::WindowState& window_;
  kit::Dialogs& dialogs_;
  kit::LabelControl* label16_;
  kit::LabelControl* label18_;
};

}  // namespace tarvesh::titleblock
