#include "score/scorefile.h"

#include <QDir>
#include <algorithm>
#include <limits>

#include "document/folders.h"
#include "document/scorefiles.h"
#include "document/textfields.h"
#include "lyrics/lyricscodec.h"
#include "page/geometry.h"
#include "page/pagelayout.h"
#include "score/scoredocument.h"

namespace tarvesh::score {

namespace {

using document::BmpPicture;
using document::DatSideFile;
using document::FileError;
using document::ScoreFiles;
using Value = ScoreDocument::Value;
using Switch = ScoreDocument::Switch;
using OverlayKind = ScoreDocument::OverlayKind;

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

// Sets the bar grid so the page holds `size` whole, when it can.
void GrowPageFor(ScoreDocument& document, QSize size) {
  const std::optional<page::BarGrid> grid =
      page::GridHolding(size, Grid(document, false), Grid(document, true));
  if (!grid) return;
  document.Set(ScoreDocument::kBarsPerLine, grid->barsPerLine);
  document.Set(ScoreDocument::kBarWidth, grid->barWidth);
}

// The phrase of a text label or the file of a symbol picture made from `index`; empty when the
// list has no such entry.
QString OverlayContent(const ScoreFile::OverlaySources& sources, OverlayKind kind, int index) {
  const QStringList& list = kind == OverlayKind::kTextLabel ? sources.phrases : sources.symbolFiles;
  if (index < 0 || index >= list.size()) return QString();
  if (kind == OverlayKind::kTextLabel) return list.at(index);
  return QDir(sources.symbolFolder).filePath(list.at(index));
}

// A record whose index lies outside the current list keeps its slot, place and tag with no text
// or picture, so the records after it keep their slots and a later save keeps it.
void ApplyOverlays(ScoreDocument& document, const ScoreFile::OverlaySources& sources,
                   OverlayKind kind, const std::vector<DatSideFile::OverlayRecord>& records) {
  const int n = int(std::min(records.size(), size_t(ScoreDocument::kOverlaySlots)));
  for (int i = 0; i < ScoreDocument::kOverlaySlots; ++i) {
    ScoreDocument::Overlay overlay = document.OverlayAt(kind, i);
    if (i >= n) {
      overlay.shown = false;
    } else {
      const DatSideFile::OverlayRecord& r = records[size_t(i)];
      overlay = {QPoint(r.left, r.top), r.index, true, OverlayContent(sources, kind, r.index)};
    }
    document.SetOverlay(kind, i, overlay);
  }
  document.SetOverlayCount(kind, n);
}

}  // namespace

ScoreFile::OverlaySources ScoreFile::OverlaySources::FromDataFolder(const QString& dataDir) {
  const QDir data(dataDir);
  OverlaySources sources;
  sources.phrases = document::ReadDelimitedFields(data.filePath(QStringLiteral("explin.txt")));
  sources.symbolFolder = data.filePath(QStringLiteral("s/sik"));
  sources.symbolFiles = document::FilesIn(sources.symbolFolder, QStringLiteral("*.bmp"));
  return sources;
}

std::optional<FileError> ScoreFile::Open(ScoreDocument& document, const OverlaySources& sources,
                                         const OpenOptions& options) {
  FileError error;
  std::optional<ScoreFiles::Contents> contents = Read(document.Path(), &error);
  if (!contents) return error;
  return Open(document, std::move(*contents), sources, options);
}

std::optional<ScoreFiles::Contents> ScoreFile::Read(const QString& path, FileError* error) {
  return ScoreFiles(path).Read(error);
}

std::optional<ScoreFiles::Head> ScoreFile::ReadHead(const QString& path, FileError* error) {
  return ScoreFiles(path).ReadHead(error);
}

std::optional<FileError> ScoreFile::Open(ScoreDocument& document, ScoreFiles::Contents contents,
                                         const OverlaySources& sources,
                                         const OpenOptions& options) {
  return Open(document, contents.picture.Size(), &contents.picture.Rows(), std::move(contents.side),
              sources, options);
}

std::optional<FileError> ScoreFile::OpenSettings(ScoreDocument& document, ScoreFiles::Head head,
                                                 const OverlaySources& sources,
                                                 const OpenOptions& options) {
  return Open(document, head.pictureSize, nullptr, std::move(head.side), sources, options);
}

std::optional<FileError> ScoreFile::Open(ScoreDocument& document, QSize size,
                                         const page::PictureRows* rows, QByteArray sideBytes,
                                         const OverlaySources& sources,
                                         const OpenOptions& options) {
  const QString path = document.Path();
  const page::BarGrid most = Grid(document, true);
  if (!page::GridHolding(size, most, most)) {
    const int width = page::PageWidthFor(most.barsPerLine, most.barWidth);
    return FileError::Of(path, FileError::Problem::kTooLarge,
                         QStringLiteral("%1 × %2 > %3 × %4")
                             .arg(size.width())
                             .arg(size.height())
                             .arg(width)
                             .arg(page::PageHeightFor(width)));
  }
  sideBytes_ = std::move(sideBytes);
  const DatSideFile side = DatSideFile::Decode(sideBytes_);
  extensionDamaged_ = side.extensionDamaged;
  Apply(document, size, rows, side, sources, options);
  document.LayOut();
  return std::nullopt;
}

std::optional<FileError> ScoreFile::Save(const ScoreDocument& document) {
  const QByteArray side = Capture(document).EncodeOver(sideBytes_);
  if (auto failed = ScoreFiles(document.Path()).Save(document.Page().Image(), side)) return failed;
  sideBytes_ = side;
  return std::nullopt;
}

void ScoreFile::Forget() {
  sideBytes_.clear();
  keptRecords_.clear();
}

DatSideFile ScoreFile::Capture(const ScoreDocument& d) const {
  DatSideFile side;
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
  // A score without words stores none, so its side file stays as older versions wrote it.
  if (!(d.Lyrics() == lyrics::LyricSheet())) side.lyrics = lyrics::EncodeLyrics(d.Lyrics());
  side.keptRecords = keptRecords_;
  return side;
}

void ScoreFile::Apply(ScoreDocument& d, const BmpPicture& picture, const DatSideFile& side,
                      const OverlaySources& sources, const OpenOptions& options) {
  Apply(d, picture.Size(), &picture.Rows(), side, sources, options);
}

void ScoreFile::Apply(ScoreDocument& d, QSize size, const page::PictureRows* rows,
                      const DatSideFile& side, const OverlaySources& sources,
                      const OpenOptions& options) {
  SetValue(d, ScoreDocument::kBarWidth, side.barWidth);
  SetValue(d, ScoreDocument::kBarsPerLine, side.barsPerLine);
  SetValue(d, ScoreDocument::kLineSpacing, side.lineSpacing);
  GrowPageFor(d, size);
  // The picture goes on once the page has its size, so the sizes it passes through on the way
  // cannot cut it.
  d.LayOut();
  if (rows) d.Page().LoadRows(*rows);
  if (options.windowSwitches) {
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
  if (side.pageNumber) d.SetPageNumber(*side.pageNumber);
  if (side.textLabels) ApplyOverlays(d, sources, OverlayKind::kTextLabel, *side.textLabels);
  if (side.symbolPictures)
    ApplyOverlays(d, sources, OverlayKind::kSymbolPicture, *side.symbolPictures);
  if (side.tempo) d.SetText(ScoreDocument::kTempo, *side.tempo);
  // Its place follows its new width at the next layout, as every open makes.
  if (side.credit) d.SetText(ScoreDocument::kCredit, *side.credit);
  // The words stand under the notes of the picture they were saved with; the window follows
  // them to the picture as it is.
  std::optional<lyrics::LyricSheet> words;
  if (side.lyrics) words = lyrics::DecodeLyrics(*side.lyrics);
  lyricsDamaged_ = side.lyrics && !words;
  d.SetLyrics(words.value_or(lyrics::LyricSheet()));
  keptRecords_ = side.keptRecords;
}

}  // namespace tarvesh::score
