#include "app/documentcommands.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <limits>

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
#include "page/pagelayout.h"
#include "page/scorepage.h"
#include "score/scoredocument.h"
#include "settings/guidelines.h"
#include "settings/layoutpanel.h"
#include "titleblock/pagenumbering.h"
#include "titleblock/titleblock.h"

namespace tarvesh::app {

namespace {

using document::DatSideFile;
using document::FileError;
using document::ScoreFiles;
using score::ScoreDocument;
using Value = ScoreDocument::Value;
using Switch = ScoreDocument::Switch;
using OverlayKind = ScoreDocument::OverlayKind;

const QString kHint = QStringLiteral("提示");

int16_t Int16Of(int value) {
  return int16_t(std::clamp<int>(value, std::numeric_limits<int16_t>::min(),
                                 std::numeric_limits<int16_t>::max()));
}

// No selection (-1) is stored as 255, which no list reaches, so it is skipped on opening.
uint8_t StoredIndex(int index) {
  return uint8_t(index);
}

// Applied like a user's change: every view shows it and reacts as to a user's change. A value
// out of range is skipped.
void SetValue(ScoreDocument& document, Value value, const std::optional<int16_t>& stored) {
  if (stored) document.Set(value, *stored);
}
void SetSwitch(ScoreDocument& document, Switch which, const std::optional<uint8_t>& stored) {
  if (stored && *stored <= 1) document.SetSwitch(which, *stored == 1);
}

// The bar grid the document sets, or the largest it can set.
page::BarGrid Grid(const ScoreDocument& document, bool largest) {
  const ScoreDocument::ValueRange& width = ScoreDocument::kValueRanges[ScoreDocument::kBarWidth];
  const ScoreDocument::ValueRange& bars = ScoreDocument::kValueRanges[ScoreDocument::kBarsPerLine];
  return largest ? page::BarGrid{width.max, bars.max}
                 : page::BarGrid{document.Get(ScoreDocument::kBarWidth),
                                 document.Get(ScoreDocument::kBarsPerLine)};
}

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
  sideBytes_.clear();
  context_.page.Clear();
  context_.layout.Slider(ScoreDocument::kLineSpacing)->setEnabled(true);
  context_.overlays.ClearAllOverlays();
  context_.document.SetText(ScoreDocument::kTitle,
                            ScoreDocument::kHeadTextStarts[ScoreDocument::kTitle]);
  keptRecords_.clear();
}

void DocumentCommands::Open() {
  context_.commandBar.ScrollBar()->setValue(0);
  context_.commandBar.ApplyScroll();
  const auto chosen = context_.dialogs.OpenFile(QStringLiteral("打开"), kFilter, RememberedFile());
  if (!chosen) return;
  RememberFile(*chosen);
  // A score that cannot be opened leaves the window as it was, its document path included, so
  // a later Save still goes to the document shown.
  const QString before = context_.document.Path();
  context_.document.SetPath(*chosen);
  if (const std::optional<FileError> failed = OpenScoreDocument()) {
    context_.document.SetPath(before);
    context_.dialogs.Failure(failed->Told(QStringLiteral("无法打开文件")), kHint);
    return;
  }
  context_.layout.Slider(ScoreDocument::kLineSpacing)->setEnabled(false);
}

void DocumentCommands::Save(bool saveAs) {
  if (!saveAs && !context_.document.Path().isEmpty()) {
    SaveScoreDocument();
    return;
  }
  const auto chosen = context_.dialogs.SaveFile(QStringLiteral("保存"), kFilter, RememberedFile());
  if (!chosen) return;
  // The picture always ends in ".bmp", so it is never its own side file nor another score's.
  const QString path = ScoreFiles::PicturePathFor(*chosen);
  RememberFile(path);
  // Only a file is offered for replacing; a folder of that name simply cannot be written.
  if (QFileInfo(path).isFile() &&
      !context_.dialogs.AskYesNo(QStringLiteral("已经存在的图片，是否替换原来的？"), kHint))
    return;
  // A save that fails leaves the document where it was.
  const QString before = context_.document.Path();
  context_.document.SetPath(path);
  if (!SaveScoreDocument()) context_.document.SetPath(before);
}

bool DocumentCommands::SaveScoreDocument() {
  const QByteArray side = CaptureSideFile().EncodeOver(sideBytes_);
  if (const std::optional<FileError> failed =
          ScoreFiles(context_.document.Path()).Save(context_.page.Image(), side)) {
    context_.dialogs.Failure(failed->Told(QStringLiteral("无法保存文件")), kHint);
    return false;
  }
  sideBytes_ = side;
  context_.dialogs.Beep();
  return true;
}

std::optional<FileError> DocumentCommands::OpenScoreDocument() {
  const QString path = context_.document.Path();
  if (!ScoreFiles::IsPicturePath(path))
    return FileError::Of(path, FileError::Problem::kNotScoreName);
  FileError error;
  std::optional<ScoreFiles::Contents> contents = ScoreFiles(path).Read(&error);
  if (!contents) return error;
  const QSize size = contents->picture.size();
  const page::BarGrid most = Grid(context_.document, true);
  if (!page::GridHolding(size, most, most)) {
    const int width = page::PageWidthFor(most.barsPerLine, most.barWidth);
    return FileError::Of(path, FileError::Problem::kTooLarge,
                         QStringLiteral("%1 × %2 > %3 × %4")
                             .arg(size.width())
                             .arg(size.height())
                             .arg(width)
                             .arg(page::PageHeightFor(width)));
  }
  sideBytes_ = std::move(contents->side);
  const DatSideFile side = DatSideFile::Decode(sideBytes_);
  ApplyDocument(contents->picture, side);
  // A batch export goes on unattended; opened by hand, the user learns why the credit and the
  // page-number pattern did not come back.
  if (side.extensionDamaged && !context_.batchRunning()) {
    context_.dialogs.Message(QStringLiteral("文件末尾的附加信息已损坏，备注和页数样式未能读出：%1")
                                 .arg(QDir::toNativeSeparators(DatSideFile::PathFor(path))),
                             kHint);
  }
  context_.dialogs.Beep();
  context_.guides.DrawGuideLines();
  return std::nullopt;
}

DatSideFile DocumentCommands::CaptureSideFile() const {
  const Context& c = context_;
  DatSideFile side;
  const ScoreDocument& d = c.document;
  side.barWidth = Int16Of(d.Get(ScoreDocument::kBarWidth));
  side.barsPerLine = Int16Of(d.Get(ScoreDocument::kBarsPerLine));
  side.lineSpacing = Int16Of(d.Get(ScoreDocument::kLineSpacing));
  side.staffInput = d.IsOn(ScoreDocument::kStaffInput) ? 1 : 0;
  side.guideLines = d.IsOn(ScoreDocument::kGuideLines) ? 1 : 0;
  side.skipBarLines = d.IsOn(ScoreDocument::kSkipBarLines) ? 1 : 0;
  side.autoNoteSpacing = d.IsOn(ScoreDocument::kAutoNoteSpacing) ? 1 : 0;
  side.staffKey = StoredIndex(d.StaffKey());
  for (size_t i = 0; i < side.noteSpacing.size(); ++i) side.noteSpacing[i] = d.NoteSpacing(int(i));
  side.numerator = StoredIndex(d.Pick(ScoreDocument::kNumeratorPick));
  side.denominator = StoredIndex(d.Pick(ScoreDocument::kDenominatorPick));
  side.key = StoredIndex(d.Pick(ScoreDocument::kKeyPick));
  side.title = d.Text(ScoreDocument::kTitle);
  side.pageNumber = Int16Of(d.PageNumber());

  // Only the items still shown are stored, renumbered from 0.
  auto records = [&d](OverlayKind kind) {
    std::vector<DatSideFile::OverlayRecord> stored;
    for (int i = 0; i < d.OverlayCount(kind); ++i) {
      const ScoreDocument::Overlay& item = d.OverlayAt(kind, i);
      if (!item.shown) continue;
      stored.push_back({Int16Of(item.at.x()), Int16Of(item.at.y()), Int16Of(item.index)});
    }
    return stored;
  };
  side.textLabels = records(OverlayKind::kTextLabel);
  side.symbolPictures = records(OverlayKind::kSymbolPicture);
  side.tempo = d.Text(ScoreDocument::kTempo);
  side.credit = d.Text(ScoreDocument::kCredit);
  side.pageNumberPattern = d.Text(ScoreDocument::kPagePattern);
  side.keptRecords = keptRecords_;
  return side;
}

void DocumentCommands::ApplyDocument(const QImage& picture, const DatSideFile& side) {
  Context& c = context_;
  ScoreDocument& d = c.document;
  SetValue(d, ScoreDocument::kBarWidth, side.barWidth);
  SetValue(d, ScoreDocument::kBarsPerLine, side.barsPerLine);
  SetValue(d, ScoreDocument::kLineSpacing, side.lineSpacing);
  GrowPageFor(picture.size());
  // The picture goes on once the sliders have sized the page, so the sizes they pass through on
  // the way cannot cut it.
  c.page.LoadImage(picture);
  if (!c.batchRunning()) {
    SetSwitch(d, ScoreDocument::kStaffInput, side.staffInput);
    SetSwitch(d, ScoreDocument::kGuideLines, side.guideLines);
  }
  SetSwitch(d, ScoreDocument::kSkipBarLines, side.skipBarLines);
  SetSwitch(d, ScoreDocument::kAutoNoteSpacing, side.autoNoteSpacing);
  if (side.staffKey) d.SetStaffKey(*side.staffKey);
  for (size_t i = 0; i < side.noteSpacing.size(); ++i)
    if (side.noteSpacing[i]) d.SetNoteSpacing(int(i), *side.noteSpacing[i]);
  if (side.numerator) d.SetPick(ScoreDocument::kNumeratorPick, *side.numerator);
  if (side.denominator) d.SetPick(ScoreDocument::kDenominatorPick, *side.denominator);
  if (side.key) d.SetPick(ScoreDocument::kKeyPick, *side.key);
  if (side.title) d.SetText(ScoreDocument::kTitle, *side.title);
  // The pattern first, so the number set next shows through it.
  if (side.pageNumberPattern) d.SetText(ScoreDocument::kPagePattern, *side.pageNumberPattern);
  if (side.pageNumber) c.pageNumbering.SetPageNumber(*side.pageNumber);
  if (side.textLabels) ApplyOverlays(OverlayKind::kTextLabel, *side.textLabels);
  if (side.symbolPictures) ApplyOverlays(OverlayKind::kSymbolPicture, *side.symbolPictures);
  if (side.tempo) d.SetText(ScoreDocument::kTempo, *side.tempo);
  // Its place follows its new width when the guide lines are drawn again, as every open does.
  if (side.credit) d.SetText(ScoreDocument::kCredit, *side.credit);
  keptRecords_ = side.keptRecords;
}

void DocumentCommands::GrowPageFor(QSize size) {
  ScoreDocument& d = context_.document;
  const std::optional<page::BarGrid> grid = page::GridHolding(size, Grid(d, false), Grid(d, true));
  if (!grid) return;
  d.Set(ScoreDocument::kBarsPerLine, grid->barsPerLine);
  d.Set(ScoreDocument::kBarWidth, grid->barWidth);
}

// A record whose index lies outside the current list keeps its slot, place and tag with no text
// or picture, so the records after it keep their slots and a later save keeps it.
void DocumentCommands::ApplyOverlays(OverlayKind kind,
                                     const std::vector<DatSideFile::OverlayRecord>& records) {
  ScoreDocument& d = context_.document;
  const int n = int(std::min(records.size(), size_t(ScoreDocument::kOverlaySlots)));
  for (int i = 0; i < ScoreDocument::kOverlaySlots; ++i) {
    ScoreDocument::Overlay overlay = d.OverlayAt(kind, i);
    if (i >= n) {
      overlay.shown = false;
    } else {
      const DatSideFile::OverlayRecord& r = records[size_t(i)];
      overlay = {QPoint(r.left, r.top), r.index, true, OverlayContent(kind, r.index)};
    }
    d.SetOverlay(kind, i, overlay);
  }
  d.SetOverlayCount(kind, n);
}

QString DocumentCommands::OverlayContent(OverlayKind kind, int index) const {
  if (kind == OverlayKind::kTextLabel) {
    const QListWidgetItem* phrase = context_.phrases->item(index);
    return phrase ? phrase->text() : QString();
  }
  const kit::FileListControl* files = context_.symbolFiles;
  if (index < 0 || index >= files->Files().size()) return QString();
  return QDir(files->Path()).filePath(files->Files().at(index));
}

DocumentCommands::Snapshot DocumentCommands::TakeSnapshot() const {
  const Context& c = context_;
  Snapshot s;
  s.page = c.page.Image().copy();
  s.side = CaptureSideFile();
  s.sideBytes = sideBytes_;
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
  ApplyDocument(s.page, s.side);
  sideBytes_ = s.sideBytes;
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
