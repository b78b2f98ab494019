#pragma once

#include <QObject>
#include <functional>
#include <map>

class QPushButton;
class QScrollBar;
class QWidget;

namespace tarvesh::kit {
class ControlRegistry;
class PageViewport;
}  // namespace tarvesh::kit

namespace tarvesh::app {

// The document commands of the command column (`Command1` with its index), the close button of
// the options panel (`Command3`) and the page scroll bar (`VScroll1`). New, Options, Exit,
// Close and scrolling act here; the document commands are passed on.
class CommandBar : public QObject {
  Q_OBJECT

 public:
  enum Command {
    kOpen = 0,
    kSave = 1,
    kSaveAs = 2,
    kBatchExport = 3,
    kExit = 5,
    kNew = 6,
    kOptions = 7
  };

  struct Context {
    kit::ControlRegistry& controls;
    QWidget* form;
    QWidget* commandColumn;
    kit::PageViewport* view;
    QWidget* optionsPanel;
    std::function<void()> focusPage;
  };

  explicit CommandBar(const Context& context);

  QPushButton* Button(int command) const { return command1_.at(command); }
  // Enables or disables every document command (a batch export runs without them).
  void SetCommandsEnabled(bool enabled);
  // Puts the page at the scroll bar's position again.
  void ApplyScroll();
  // Shows where the view stands, without scrolling it.
  void FollowView();
  QScrollBar* ScrollBar() const { return vscroll1_; }

 signals:
  void NewRequested();
  void OpenRequested();
  void SaveRequested(bool saveAs);
  void BatchExportRequested();
  void ExitRequested();

 private:
  void Run(int command);

  Context context_;
  std::map<int, QPushButton*> command1_;
  QPushButton* command3_;
  QScrollBar* vscroll1_;
};

}  // namespace tarvesh::app
