#include "score/scoredocument.h"

#include <algorithm>

#include "page/pagefont.h"
#include "page/rounding.h"
#include "page/textrules.h"

namespace tarvesh::score {

ScoreDocument::ScoreDocument(QObject* parent) : QObject(parent) {
  for (int i = 0; i < kValueCount; ++i) values_[i] = kValueRanges[i].start;
}

bool ScoreDocument::Set(Value value, int to) {
  const ValueRange& range = kValueRanges[value];
  if (to < range.min || to > range.max) return false;
  if (values_[value] != to) {
    values_[value] = to;
    emit ValueChanged(value);
  }
  return true;
}

void ScoreDocument::SetSwitch(Switch which, bool on) {
  if (switches_[which] == on) return;
  switches_[which] = on;
  emit SwitchChanged(which);
}

bool ScoreDocument::SetNoteSpacing(int index, float spacing) {
  if (index < 0 || index >= kNoteSpacings || !(spacing >= 0 && spacing <= kMostNoteSpacing))
    return false;
  // Announced even when it stays, so the view shows the value as it is stored.
  state_.NoteSpacing[index] = spacing;
  emit NoteSpacingChanged(index);
  return true;
}

bool ScoreDocument::SetStaffKey(int index) {
  if (index < -1 || index >= kStaffKeys) return false;
  if (staffKey_ != index) {
    staffKey_ = index;
    emit StaffKeyChanged();
  }
  return true;
}

void ScoreDocument::SetChordColour(const QColor& colour) {
  chordColour_ = colour;
}

void ScoreDocument::SetPageNumber(int number) {
  pageNumber_ = number;
  QString text = texts_[kPagePattern];
  page::ReplaceAll(text, QStringLiteral("p"), QString::number(number));
  SetText(kPageNumberText, text);
  emit PageNumberChanged();
}

void ScoreDocument::SetText(HeadText which, const QString& text) {
  if (texts_[which] == text) return;
  texts_[which] = text;
  emit TextChanged(which);
}

bool ScoreDocument::SetPick(HeadPick which, int index) {
  if (index < -1 || index >= kHeadPickEntries[which].size()) return false;
  if (index >= 0) SetText(kPickedTexts[which], kHeadPickEntries[which][index]);
  if (picks_[which] != index) {
    picks_[which] = index;
    emit PickChanged(which);
  }
  return true;
}

void ScoreDocument::SetOverlay(OverlayKind kind, int slot, const Overlay& overlay) {
  if (slot < 0 || slot >= kOverlaySlots) return;
  Overlay& held = pools_[int(kind)][slot];
  if (held == overlay) return;
  held = overlay;
  emit OverlayChanged(kind, slot);
}

void ScoreDocument::SetOverlayCount(OverlayKind kind, int count) {
  counts_[int(kind)] = std::clamp(count, 0, int(kOverlaySlots));
}

bool ScoreDocument::AddOverlay(OverlayKind kind, QPoint at, int index, const QString& content) {
  const int slot = counts_[int(kind)];
  if (slot >= kOverlaySlots) return false;
  SetOverlay(kind, slot, {at, index, true, content});
  counts_[int(kind)] = slot + 1;
  return true;
}

void ScoreDocument::SetLyrics(const lyrics::LyricSheet& sheet) {
  if (lyrics_ == sheet) return;
  lyrics_ = sheet;
  emit LyricsChanged();
}

page::PageLayout ScoreDocument::LayOut() {
  page::PageLayout layout =
      page::ComputePageLayout(values_[kBarWidth], values_[kBarsPerLine], values_[kLineSpacing]);
  page_.Resize(layout.width, layout.height);
  HeadPlacement placed;
  placed.titleWidth = layout.width;
  placed.creditLeft = layout.width - kCreditInset -
                      CaptionSize(page::PageFont(kHeadPoints, false), texts_[kCredit]).width();
  const int number =
      CaptionSize(page::PageFont(kPageNumberPoints, false), texts_[kPageNumberText]).width();
  placed.pageNumberAt =
      QPoint(page::RoundHalfEven((layout.width - number) / 2.0), layout.height - kPageNumberRise);
  if (placed != placement_) {
    placement_ = placed;
    emit PlacementChanged();
  }
  return layout;
}

ScoreDocument::Held ScoreDocument::Take() const {
  Held held;
  held.values = values_;
  held.switches = switches_;
  std::copy_n(state_.NoteSpacing.begin(), kNoteSpacings, held.noteSpacings.begin());
  held.staffKey = staffKey_;
  held.chordColour = chordColour_;
  held.texts = texts_;
  held.picks = picks_;
  held.pools = pools_;
  held.counts = counts_;
  held.path = path_;
  held.pageNumber = pageNumber_;
  held.placement = placement_;
  held.lyrics = lyrics_;
  return held;
}

void ScoreDocument::Restore(const Held& held) {
  for (int i = 0; i < kValueCount; ++i) Set(Value(i), held.values[i]);
  for (int i = 0; i < kSwitchCount; ++i) SetSwitch(Switch(i), held.switches[i]);
  for (int i = 0; i < kNoteSpacings; ++i)
    if (state_.NoteSpacing[i] != held.noteSpacings[i]) SetNoteSpacing(i, held.noteSpacings[i]);
  SetStaffKey(held.staffKey);
  chordColour_ = held.chordColour;
  // Picks before texts: a pick shows its entry, and the text held may say otherwise.
  for (int i = 0; i < kHeadPickCount; ++i) SetPick(HeadPick(i), held.picks[i]);
  for (int i = 0; i < kHeadTextCount; ++i) SetText(HeadText(i), held.texts[i]);
  for (const OverlayKind kind : {OverlayKind::kTextLabel, OverlayKind::kSymbolPicture}) {
    for (int slot = 0; slot < kOverlaySlots; ++slot)
      SetOverlay(kind, slot, held.pools[int(kind)][slot]);
    counts_[int(kind)] = held.counts[int(kind)];
  }
  path_ = held.path;
  if (pageNumber_ != held.pageNumber) {
    pageNumber_ = held.pageNumber;
    emit PageNumberChanged();
  }
  if (placement_ != held.placement) {
    placement_ = held.placement;
    emit PlacementChanged();
  }
  SetLyrics(held.lyrics);
}

page::LayoutSettings ScoreDocument::Settings() const {
  page::LayoutSettings s;
  s.barWidth = values_[kBarWidth];
  s.barsPerLine = values_[kBarsPerLine];
  s.lineSpacing = values_[kLineSpacing];
  s.chordDistance = values_[kChordDistance];
  // The beat gap is the fifth spacing of the options panel.
  s.beatGap = double(state_.NoteSpacing[kNoteSpacings - 1]);
  s.autoNoteSpacing = switches_[kAutoNoteSpacing];
  s.autoBeatSplit = switches_[kAutoBeatSplit];
  s.justifyOnEnter = switches_[kJustifyOnEnter];
  s.autoBarLines = switches_[kAutoBarLines];
  s.skipBarLines = switches_[kSkipBarLines];
  s.soundEffects = switches_[kSoundEffects];
  s.staffInput = switches_[kStaffInput];
  s.staffKey = std::max(staffKey_, 0);
  s.chordColour = chordColour_;
  return s;
}

}  // namespace tarvesh::score
