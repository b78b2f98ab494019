#include "app/documentcommands.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QScrollBar>

#include "app/commandbar.h"
#include "document/scorefiles.h"
#include "input/staffinput.h"
#include "kit/dialogs.h"
#include "kit/filelistcontrol.h"
#include "kit/labelcontrol.h"
#include "kit/windowstate.h"
#include "overlays/overlaypools.h"
#include "page/enginestate.h"
#include "page/geometry.h"
#include "page/scorepage.h"
#include "score/scoredocument.h"
#include "settings/guidelines.h"
#include "settings/layoutpanel.h"
#include "titleblock/pagenumbering.h"
#include "titleblock/titleblock.h"

namespace tarvesh::app {

namespace {

using document::FileError;
using document::ScoreFiles;
using score::ScoreDocument;
using Value = ScoreDocument::Value;
using OverlayKind = ScoreDocument::OverlayKind;

const QString kHint = QStringLiteral("提示");

}  // namespace

const QString DocumentCommands::kFilter = QStringLiteral("位图(*.bmp)|*.bmp");

DocumentCommands::DocumentCommands(const Context& context) : context_(context) {}

QString DocumentCommands::RememberedFile() const {
  return context_.commonDialog->property("file").toString();
}

void DocumentCommands::RememberFile(const QString& path) {
  context_.commonDialog->setProperty("file", path);
}

void DocumentCommands::New() {
  page::EngineState& s = context_.state;
  s.ForgetLastPlaced();
  s.BarsInLine = 0;
  s.BarUnits = 0;
  for (const Value value : {ScoreDocument::kBarWidth, ScoreDocument::kBarsPerLine})
    context_.document.Set(value, ScoreDocument::kValueRanges[value].start);
  context_.page.SetCursor(page::kLeftMargin, page::kFirstLineTop);
  context_.document.SetPath(QString());
  file_.Forget();
  context_.page.Clear();
  context_.layout.Slider(ScoreDocument::kLineSpacing)->setEnabled(true);
  context_.overlays.ClearAllOverlays();
  // The words go with the page; their font stays, as the other settings do.
  lyrics::LyricSheet words = context_.document.Lyrics();
  words.ClearWords();
  context_.document.SetLyrics(words);
  context_.document.SetText(ScoreDocument::kTitle,
                            ScoreDocument::kHeadTextStarts[ScoreDocument::kTitle]);
}

bool DocumentCommands::Open() {
  context_.commandBar.ScrollBar()->setValue(0);
  context_.commandBar.ApplyScroll();
  const auto chosen = context_.dialogs.OpenFile(QStringLiteral("打开"), kFilter, RememberedFile());
  if (!chosen) return false;
  return OpenFile(*chosen);
}

bool DocumentCommands::OpenFile(const QString& path) {
  RememberFile(path);
  // A score that cannot be opened leaves the window as it was, its document path included, so
  // a later Save still goes to the document shown.
  const QString before = context_.document.Path();
  context_.document.SetPath(path);
  if (const std::optional<FileError> failed = OpenScoreDocument()) {
    context_.document.SetPath(before);
    context_.dialogs.Failure(failed->Told(QStringLiteral("无法打开文件")), kHint);
    return false;
  }
  context_.layout.Slider(ScoreDocument::kLineSpacing)->setEnabled(false);
  return true;
}

bool DocumentCommands::Save(bool saveAs) {
  if (!saveAs && !context_.document.Path().isEmpty()) return SaveScoreDocument();
  const auto chosen = context_.dialogs.SaveFile(QStringLiteral("保存"), kFilter, RememberedFile());
  if (!chosen) return false;
  // The picture always ends in ".bmp", so it is never its own side file nor another score's.
  const QString path = ScoreFiles::PicturePathFor(*chosen);
  RememberFile(path);
  // Only a file is offered for replacing; a folder of that name simply cannot be written.
  if (QFileInfo(path).isFile() &&
      !context_.dialogs.AskYesNo(QStringLiteral("已经存在的图片，是否替换原来的？"), kHint))
    return false;
  return Told(SaveAt(path));
}

std::optional<FileError> DocumentCommands::SaveAt(const QString& path) {
  // A save that fails leaves the document where it was.
  const QString before = context_.document.Path();
  context_.document.SetPath(path);
  std::optional<FileError> failed = file_.Save(context_.document);
  if (failed) context_.document.SetPath(before);
  return failed;
}

bool DocumentCommands::SaveScoreDocument() {
  return Told(file_.Save(context_.document));
}

bool DocumentCommands::Told(const std::optional<FileError>& failed) {
  if (failed) {
    context_.dialogs.Failure(failed->Told(QStringLiteral("无法保存文件")), kHint);
    return false;
  }
  context_.dialogs.Beep();
  return true;
}

std::optional<FileError> DocumentCommands::OpenScoreDocument() {
  score::ScoreFile::OpenOptions options;
  options.windowSwitches = !context_.batchRunning();
  if (auto failed = file_.Open(context_.document, Sources(), options)) return failed;
  const QString path = context_.document.Path();
  // A batch export goes on unattended; opened by hand, the user learns why the credit and the
  // page-number pattern did not come back.
  if (file_.ExtensionDamaged() && !context_.batchRunning()) {
    context_.dialogs.Message(
        QStringLiteral("文件末尾的附加信息已损坏，备注和页数样式未能读出：%1")
            .arg(QDir::toNativeSeparators(document::DatSideFile::PathFor(path))),
        kHint);
  }
  if (file_.LyricsDamaged() && !context_.batchRunning()) {
    context_.dialogs.Message(
        QStringLiteral("歌词已损坏，未能读出：%1")
            .arg(QDir::toNativeSeparators(document::DatSideFile::PathFor(path))),
        kHint);
  }
  context_.dialogs.Beep();
  context_.guides.DrawGuideLines();
  return std::nullopt;
}

score::ScoreFile::OverlaySources DocumentCommands::Sources() const {
  score::ScoreFile::OverlaySources sources;
  for (int i = 0; i < context_.phrases->count(); ++i)
    sources.phrases << context_.phrases->item(i)->text();
  sources.symbolFolder = context_.symbolFiles->Path();
  sources.symbolFiles = context_.symbolFiles->Files();
  return sources;
}

DocumentCommands::Snapshot DocumentCommands::TakeSnapshot() const {
  const Context& c = context_;
  Snapshot s;
  s.page = c.page.Image().copy();
  s.side = file_.Capture(c.document);
  s.sideBytes = file_.SideBytes();
  // The overlays come back slot for slot, hidden ones included, not through the records.
  s.side.textLabels.reset();
  s.side.symbolPictures.reset();
  for (const OverlayKind kind : {OverlayKind::kTextLabel, OverlayKind::kSymbolPicture}) {
    s.overlays[size_t(kind)] = c.document.Overlays(kind);
    s.overlayCounts[size_t(kind)] = c.document.OverlayCount(kind);
  }
  s.workingNumerator = c.title.Combo1(7)->currentIndex();
  s.workingDenominator = c.title.Combo1(6)->currentIndex();
  return s;
}

void DocumentCommands::RestoreSnapshot(const Snapshot& s) {
  Context& c = context_;
  score::ScoreFile::OpenOptions options;
  options.windowSwitches = !c.batchRunning();
  file_.Apply(c.document, document::BmpPicture(s.page), s.side, Sources(), options);
  file_.SetSideBytes(s.sideBytes);
  for (const OverlayKind kind : {OverlayKind::kTextLabel, OverlayKind::kSymbolPicture}) {
    for (int i = 0; i < ScoreDocument::kOverlaySlots; ++i)
      c.document.SetOverlay(kind, i, s.overlays[size_t(kind)][size_t(i)]);
    c.document.SetOverlayCount(kind, s.overlayCounts[size_t(kind)]);
  }
  if (s.workingNumerator >= 0) c.title.Combo1(7)->setCurrentIndex(s.workingNumerator);
  if (s.workingDenominator >= 0) c.title.Combo1(6)->setCurrentIndex(s.workingDenominator);
  c.guides.DrawGuideLines();
}

}  // namespace tarvesh::app
