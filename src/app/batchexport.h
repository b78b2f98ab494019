#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "app/documentcommands.h"
#include "print/printpage.h"

class QCheckBox;
class QWidget;

namespace tarvesh::score {
class ScoreDocument;
}
namespace tarvesh::kit {
class CursorView;
class Dialogs;
class FileListControl;
class LabelControl;
class PageViewport;
class PictureBox;
class TimerControl;
struct WindowState;
}  // namespace tarvesh::kit

namespace tarvesh::app {

class BatchProgress;
class CommandBar;

// "批量导出图片": every score picture of a folder becomes an A4 page picture with what lies over
// the page, one phase per `Timer2` tick, into the sub-folder "导出 " + the start time. The page
// is composed off-screen in the two bands of S screen rows a screen copy would take. When the
// batch ends the window is as it was before it: page, overlays, settings and document path, and
// the export folder also holds one PDF of every page picture written, in the order of the list.
class BatchExport : public QObject {
  Q_OBJECT

 public:
  struct Context {
    kit::WindowState& window;
    score::ScoreDocument& document;
    kit::Dialogs& dialogs;
    DocumentCommands& documents;
    CommandBar& commandBar;
    kit::CursorView& cursor;
    kit::FileListControl* file2;
    kit::TimerControl* timer2;
    kit::PictureBox* picture6;
    BatchProgress& progress;   // Label25 and Command25
    QWidget* canvas;           // Picture1
    kit::PageViewport* view;   // what of the page is in view
    kit::LabelControl* title;  // Label1
    QWidget* marginLine;       // Line3
    // Hidden while the batch runs: Frame2, Picture2, Frame3, Picture3.
    QList<QWidget*> panels;
    // Off while the batch runs, like the Command1 buttons: Command16, Command17.
    QList<QWidget*> commands;
    QCheckBox* check1;
    QCheckBox* check2;
    int screenHeight;  // S
    // The page as the screen shows it (Form1::PageView).
    std::function<QImage()> pageView;
    // A print page of its own for the batch's PDF, read with the window's atlases.
    std::function<print::PrintPage()> newPrintPage;
  };

  explicit BatchExport(const Context& context);

  bool Running() const { return running_; }
  // Command1(3).
  void Start();
  // One Timer2 tick; nothing while no batch runs.
  void Tick();
  // Command25: the batch ends, as a finished one does, once the score in work is written.
  void Stop();
  // One phase of the page picture at `path`, the phase being the fraction of ExportStep.
  void ExportPageImage(const QString& path);

  // Prepares the window for capturing the scores of `folder` as Start does (File2 shows them,
  // the batch counts as running), without a dialog, the timer or the export folder.
  void BeginCapture(const QString& folder);

 signals:
  // The batch starts taking the window over, or has put it back.
  void RunningChanged(bool running);

 private:
  // The batch counts as running from here on.
  void TakeOver();
  // `notStarted`: the scores at the head of the list the batch did not reach.
  void Finish(int notStarted);
  // Picture6 cleared to white at the page picture's size for the page's width.
  void ClearPagePicture();
  // Notes a score (or the PDF) left out, once, with the reason.
  void LeaveOut(const QString& name, const QString& reason);

  Context context_;
  bool running_ = false;
  bool stopRequested_ = false;
  QString exportFolder_;
  DocumentCommands::Snapshot before_;
  // Scores that could not be opened or whose page picture could not be written, each with the
  // reason.
  struct LeftOut {
    QString name;
    QString reason;
  };
  std::vector<LeftOut> notExported_;
};

}  // namespace tarvesh::app
