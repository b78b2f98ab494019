#pragma once

#include <QObject>

class QWidget;

namespace tarvesh::app {
class ControlRegistry;
class Dialogs;
class LabelControl;
struct WindowState;
}  // namespace tarvesh::app

namespace tarvesh::titleblock {

// The page number at the bottom of the page (`Label16`), made from the pattern `Label18` in
// which every "p" stands for the number.
class PageNumbering : public QObject {
  Q_OBJECT

 public:
  PageNumbering(app::WindowState& window, app::Dialogs& dialogs, QWidget* canvas,
                QWidget* optionsPanel, app::ControlRegistry& controls);

  app::LabelControl* Label() const { return label16_; }
  // Sets the number and shows the pattern with it, as an entry or an open does.
  void SetPageNumber(int number);

 private:
  void AskNumber();
  void AskPattern();

  app::WindowState& window_;
  app::Dialogs& dialogs_;
  app::LabelControl* label16_;
  app::LabelControl* label18_;
};

}  // namespace tarvesh::titleblock
