#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

#include "app/documentcommands.h"

class QCheckBox;
class QWidget;

namespace tarvesh::app {

class CommandBar;
class CursorView;
class Dialogs;
class FileListControl;
class LabelControl;
class PictureBox;
class TimerControl;
struct WindowState;

// "批量导出图片": every score picture of a folder becomes an A4 page picture with what lies over
// the page, one phase per `Timer2` tick, into the sub-folder "导出 " + the start time. The page
// is composed off-screen in the two bands of S screen rows a screen copy would take. When the
// batch ends the window is as it was before it: page, overlays, settings and document path.
class BatchExport : public QObject {
  Q_OBJECT

 public:
  struct Context {
    WindowState& window;
    Dialogs& dialogs;
    DocumentCommands& documents;
    CommandBar& commandBar;
    CursorView& cursor;
    FileListControl* file2;
    TimerControl* timer2;
    PictureBox* picture6;
    QWidget* canvas;      // Picture1
    LabelControl* title;  // Label1
    QWidget* marginLine;  // Line3
    // Hidden while the batch runs: Frame2, Picture2, Frame3, Picture3.
    QList<QWidget*> panels;
    QCheckBox* check1;
    QCheckBox* check2;
    int screenHeight;  // S
    // The page as the screen shows it (Form1::PageView).
    std::function<QImage()> pageView;
  };

  explicit BatchExport(const Context& context);

  bool Running() const { return running_; }
  // Command1(3).
  void Start();
  // One Timer2 tick; nothing while no batch runs.
  void Tick();
  // One phase of the page picture at `path`, the phase being the fraction of ExportStep.
  void ExportPageImage(const QString& path);

 private:
  void Finish();
  // Copies page rows first..first+S-1, as shown, into the same rows of Picture6.
  void CopyBand(int first);

  Context context_;
  bool running_ = false;
  QString exportFolder_;
  DocumentCommands::Snapshot before_;
  // Scores that could not be opened or whose page picture could not be written.
  QStringList notExported_;
};

}  // namespace tarvesh::app
