#include "app/batchexport.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QTime>
#include <cmath>

#include "app/batchprogress.h"
#include "app/commandbar.h"
#include "document/folders.h"
#include "document/pagepicture.h"
#include "kit/cursorview.h"
#include "kit/dialogs.h"
#include "kit/filelistcontrol.h"
#include "kit/labelcontrol.h"
#include "kit/pageviewport.h"
#include "kit/picturebox.h"
#include "kit/timercontrol.h"
#include "kit/windowstate.h"
#include "page/geometry.h"
#include "print/printpage.h"
#include "publish/folderexport.h"
#include "score/scoredocument.h"

namespace tarvesh::app {

namespace {
const QString kHint = QStringLiteral("提示");
// Every tick moves the export on by one of a file's four phases.
constexpr float kPhaseStep = 0.25f;
}  // namespace

BatchExport::BatchExport(const Context& context) : context_(context) {
  connect(context_.timer2, &kit::TimerControl::Tick, this, &BatchExport::Tick);
  connect(&context_.progress, &BatchProgress::StopRequested, this, &BatchExport::Stop);
}

void BatchExport::Stop() {
  if (running_) stopRequested_ = true;
}

void BatchExport::Start() {
  kit::WindowState& window = context_.window;
  DocumentCommands& documents = context_.documents;
  window.PathBeforeBatch = context_.document.Path();
  const auto chosen = context_.dialogs.OpenFile(
      QStringLiteral("定位文件夹"), DocumentCommands::kFilter, documents.RememberedFile());
  if (!chosen) return;
  documents.RememberFile(*chosen);
  const QString folder = QFileInfo(*chosen).path();
  // A folder that cannot be read is not taken for one without scores.
  if (const auto unreadable = document::CheckFolderReadable(folder)) {
    context_.dialogs.Failure(unreadable->Told(QStringLiteral("无法读取文件夹")), kHint);
    return;
  }
  const QString stamp = QTime::currentTime().toString(QStringLiteral("HHmmss"));
  const QString exportFolder = QDir(folder).filePath(QStringLiteral("导出 ") + stamp);
  // An export folder that exists already is used as it is.
  if (const auto failed = document::MakeFolder(exportFolder)) {
    context_.dialogs.Failure(failed->Told(QStringLiteral("无法创建文件夹")), kHint);
    return;
  }
  before_ = documents.TakeSnapshot();
  notExported_.clear();
  stopRequested_ = false;

  TakeOver();
  context_.commandBar.SetCommandsEnabled(false);
  for (QWidget* command : context_.commands) command->setEnabled(false);
  BeginCapture(folder);
  window.BatchStamp = stamp;
  exportFolder_ = exportFolder;
  window.ExportStep = float(context_.file2->count());
  context_.timer2->start();
}

void BatchExport::BeginCapture(const QString& folder) {
  context_.file2->SetPath(folder);
  // What lies under the title shows through it in the page pictures.
  context_.title->SetTransparent(true);
  context_.marginLine->hide();
  context_.cursor.StopBlink();
  TakeOver();
  for (QWidget* panel : context_.panels) panel->hide();
  context_.check1->setChecked(false);
  context_.check2->setChecked(false);
}

void BatchExport::TakeOver() {
  if (running_) return;
  running_ = true;
  emit RunningChanged(true);
}

void BatchExport::ClearPagePicture() {
  const int width = context_.canvas->width();
  context_.picture6->ResizeBitmap(width, page::PageHeightFor(width));
  context_.picture6->Bitmap().fill(Qt::white);
}

void BatchExport::Tick() {
  if (!running_) return;
  kit::WindowState& window = context_.window;
  window.ExportStep -= kPhaseStep;
  const int f = int(std::floor(window.ExportStep));
  // A score's first phase: the one before it is written whole.
  const bool nextScore = window.ExportStep - float(f) == 1.0f - kPhaseStep;
  if (f < 0 || (nextScore && stopRequested_)) {
    Finish(f + 1);
    return;
  }
  const QListWidgetItem* entry = context_.file2->item(f);
  if (!entry) return;
  const QString name = entry->text();
  if (nextScore) {
    const int total = context_.file2->count();
    context_.progress.Show(total - f, total, name);
  }
  context_.document.SetPath(QDir(context_.file2->Path()).filePath(name));
  // A score whose picture cannot be read is left out rather than exported with the page of the
  // score before it.
  if (const auto failed = context_.documents.OpenScoreDocument()) {
    LeaveOut(name, failed->Reason());
    return;
  }
  ExportPageImage(QDir(exportFolder_).filePath(name));
}

void BatchExport::ExportPageImage(const QString& path) {
  const float step = context_.window.ExportStep;
  const float phase = step - std::floor(step);
  const int s = context_.screenHeight;
  if (phase == 0.75f) {
    ClearPagePicture();
    context_.view->ShowFromRow(0);
  } else if (phase == 0.5f) {
    publish::FolderExport::CopyBand(context_.pageView(), 0, s, context_.picture6->Bitmap());
  } else if (phase == 0.25f) {
    context_.view->ShowFromRow(s);
  } else if (phase == 0.0f) {
    publish::FolderExport::CopyBand(context_.pageView(), s, s, context_.picture6->Bitmap());
    if (const auto failed = document::WritePagePicture(context_.picture6->Bitmap(), path))
      LeaveOut(QFileInfo(path).fileName(), failed->Reason());
  }
}

void BatchExport::LeaveOut(const QString& name, const QString& reason) {
  for (const LeftOut& left : notExported_)
    if (left.name == name) return;
  notExported_.push_back({name, reason});
}

void BatchExport::Finish(int notStarted) {
  context_.timer2->stop();
  context_.progress.Hide();
  // Still running while the window is put back, so staff input and guide lines stay off.
  context_.documents.RestoreSnapshot(before_);
  before_ = {};
  context_.document.SetPath(context_.window.PathBeforeBatch);
  context_.commandBar.ApplyScroll();
  context_.cursor.RestartBlink();
  context_.title->SetTransparent(false);
  context_.marginLine->show();
  context_.commandBar.SetCommandsEnabled(true);
  for (QWidget* command : context_.commands) command->setEnabled(true);
  running_ = false;
  // The page picture buffer is not kept past the batch.
  context_.picture6->Bitmap() = QImage();
  const QStringList files = context_.file2->Files();
  QStringList written = files.mid(notStarted);
  for (const LeftOut& left : notExported_) written.removeAll(left.name);
  const QString pdf = publish::FolderExport::PdfPathFor(exportFolder_);
  if (!written.isEmpty()) {
    print::PrintPage print = context_.newPrintPage();
    if (const auto failed = publish::FolderExport::WritePdf(exportFolder_, written, pdf, print))
      LeaveOut(QFileInfo(pdf).fileName(), failed->Reason());
  }
  emit RunningChanged(false);
  const QString stopped =
      stopRequested_
          ? QStringLiteral("导出已停止，已导出 %1/%2").arg(written.size()).arg(files.size())
          : QString();
  stopRequested_ = false;
  if (notExported_.empty()) {
    context_.dialogs.Message(stopped.isEmpty() ? QStringLiteral("导出成功") : stopped, kHint);
    return;
  }
  QStringList lines;
  for (const LeftOut& left : notExported_) lines << left.name + QStringLiteral("：") + left.reason;
  context_.dialogs.Failure((stopped.isEmpty() ? QStringLiteral("导出完成") : stopped) +
                               QStringLiteral("，以下图片未能导出：\n") + lines.join(u'\n'),
                           kHint);
}

}  // namespace tarvesh::app
