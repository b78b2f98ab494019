#include "engine/glyphengine.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "engine/chordsymbol.h"
#include "engine/justification.h"
#include "engine/keymap.h"
#include "engine/linescan.h"
#include "page/geometry.h"
#include "page/rounding.h"
#include "reading/barcount.h"

namespace tarvesh::engine {

namespace {

using page::RoundHalfEven;

using page::kDurationLineRow;
using page::kDurationLines;
using page::kDurationLineStep;
using page::kLastNarrow;
using page::kLastUnknown;
using page::kLastWide;
using page::kNoSpacingOwed;
// Duration rows run from the quarter (0) to the thirty-second (3); a dot cannot go beyond.
constexpr int kShortestRow = 3;
// Duration-line fillers of the sign atlas start at this wide cell, one per number of lines.
constexpr int kFillerFirstCell = 16;
// The strip an erase pulls left reaches this far past the page width (clipped at the edge).
constexpr int kEraseStripExtra = 120;
// The page width minus this is the base of the too-short test of justification.
constexpr int kStretchBaseInset = 40;

int Px(float v) {
  return RoundHalfEven(v);
}

// The margin the cursor must not pass, in single precision as the cursor itself.
float WrapLimit(int width) {
  return static_cast<float>(width - page::kWrapInset);
}

// A quarter note's value; shorter notes carry duration lines.
constexpr int kQuarterNote = 4;

// Items the keys stamp, which Backspace and overwrite take whole: everything but chord symbols
// and ink nothing could name (an accidental alone is a stamp of its own).
bool IsStampedItem(const reading::ReadItem& item) {
  return item.kind != reading::ItemKind::kChord && (item.kind != reading::ItemKind::kUnknown ||
                                                    item.accidental != reading::Accidental::kNone);
}

// Dots and accidentals: an underlined note after them carries its lines through them.
bool JoinsLines(const reading::ReadItem& item) {
  return item.kind == reading::ItemKind::kDot || (item.kind == reading::ItemKind::kUnknown &&
                                                  item.accidental != reading::Accidental::kNone);
}

struct NoteRow {
  int row;
  int dots;
};

// The last note-like item of `items` and the dots right after it, when the last items are that.
std::optional<NoteRow> LastNoteRow(const std::vector<const reading::ReadItem*>& items) {
  int dots = 0;
  for (auto it = items.rbegin(); it != items.rend(); ++it) {
    if ((*it)->kind == reading::ItemKind::kDot) {
      ++dots;
    } else if (reading::TakesTime(**it)) {
      return NoteRow{reading::DurationRow(**it), dots};
    } else {
      break;
    }
  }
  return std::nullopt;
}

}  // namespace

GlyphEngine::GlyphEngine(page::ScorePage& page, const page::GlyphAtlas& atlas,
                         page::EngineState& state, EngineHost& host)
    : page_(page), atlas_(atlas), state_(state), host_(host) {}

void GlyphEngine::PlaceGlyph(int code, int row) {
  if (code == kEraseCode) {
    Erase();
  } else if (code >= 0 && code <= 99) {
    if (state_.NoteMode == 0) {
      ChordSymbolWriter(page_, state_, host_).Write(code);
    } else {
      PlaceNote(code, row);
    }
  } else if (code >= 100 && code <= 199) {
    PlaceWideSign(code);
  } else if (code >= 200 && code <= 299) {
    PlaceNarrowSign(code);
  }
}

void GlyphEngine::Erase() {
  if (!EraseItem()) EraseCell();
}

bool GlyphEngine::EraseItem() {
  const bool afterAutoBarLine = NoteEndBeforeAutoBarLine().has_value();
  const reading::ReadLine line = CursorLine();
  const int cursor = Px(page_.CursorLeft());
  std::vector<const reading::ReadItem*> before;
  for (const reading::ReadItem& item : line.items)
    if (IsStampedItem(item) && item.box.left() < cursor) before.push_back(&item);
  if (before.empty()) return false;
  const reading::ReadItem& item = *before.back();
  before.pop_back();
  // A note's accidental was a key of its own: it stays, and is what the note came after.
  reading::ReadItem accidental;
  if (item.kind == reading::ItemKind::kNote && item.accidental != reading::Accidental::kNone) {
    accidental.kind = reading::ItemKind::kUnknown;
    accidental.accidental = item.accidental;
    accidental.box = item.accidentalBox;
    before.push_back(&accidental);
  }
  const reading::ReadItem* previous = before.empty() ? nullptr : before.back();
  const int from = previous ? previous->box.right() + 1 : page::kLeftMargin;
  const int end = std::max(cursor, item.box.right() + 1);
  const int top = line.top;

  if (state_.InsertMode == 1) {
    const int width = page_.Width();
    page_.MoveStrip(end, top, width - end, page::kCellHeight, from, top);
    page_.FillRect(QRect(width - (end - from), top, end - from, page::kCellHeight), Qt::white);
  } else {
    page_.FillRect(QRect(from, top, end - from, page::kCellHeight), Qt::white);
  }
  // The lines an underlined note carried into the dot or accidental before it.
  if (previous && item.duration > kQuarterNote && JoinsLines(*previous)) {
    for (int line = 0; line < kDurationLines; ++line) {
      page_.FillRect(QRect(previous->box.left(), top + kDurationLineRow + line * kDurationLineStep,
                           previous->box.width(), 1),
                     Qt::white);
    }
  }
  page_.SetCursorLeft(from);

  // The state the key that typed the item found.
  state_.LastGlyphWidth = !previous                                    ? kLastUnknown
                          : previous->box.width() == page::kNarrowCell ? kLastNarrow
                                                                       : kLastWide;
  state_.BeamJoinWidth = previous && JoinsLines(*previous) ? previous->box.width() : 0;
  // A note, and a dot after it, leave the note's spacing owed.
  state_.PrevDurationRow = kNoSpacingOwed;
  if (const auto last = LastNoteRow(before)) {
    state_.LastDurationRow = last->row + last->dots;
    state_.PrevDurationRow = last->row;
  }
  if (item.kind == reading::ItemKind::kBar) {
    state_.BarsInLine = std::max(state_.BarsInLine - 1, 0);
    // A bar that began on the line above counts from there.
    const reading::ReadLine above = LineAbove(top);
    std::vector<const reading::ReadItem*> bar;
    const bool barLineBefore = std::any_of(before.begin(), before.end(), [](const auto* i) {
      return i->kind == reading::ItemKind::kBar;
    });
    if (!barLineBefore) {
      for (const reading::ReadItem& i : above.items)
        if (IsStampedItem(i)) bar.push_back(&i);
    }
    bar.insert(bar.end(), before.begin(), before.end());
    state_.BarUnits = reading::UnitsSinceBarLine(bar);
  } else {
    std::vector<const reading::ReadItem*> upTo = before;
    upTo.push_back(&item);
    const std::int32_t units =
        reading::UnitsSinceBarLine(upTo) - reading::UnitsSinceBarLine(before);
    state_.BarUnits = std::max(state_.BarUnits - units, 0);
  }
  // The bar line that a note put in by itself goes with the note.
  if (afterAutoBarLine && item.kind == reading::ItemKind::kBar) {
    autoBarLine_.reset();
    if (!EraseItem()) {
      // The note filled the line above and the bar line went in at the start of this one.
      const reading::ReadLine above = LineAbove(top);
      const auto last = std::find_if(above.items.rbegin(), above.items.rend(), IsStampedItem);
      if (last != above.items.rend()) {
        page_.SetCursor(last->box.right() + 1, above.top);
        EraseItem();
      }
    }
  }
  return true;
}

reading::ReadLine GlyphEngine::LineAbove(int top) const {
  const int above = top - host_.Settings().lineSpacing;
  if (above < page::kFirstLineTop) return {};
  return Reader().ReadLineAt(page_.Image(), above);
}

void GlyphEngine::EraseCell() {
  state_.PrevDurationRow = kNoSpacingOwed;
  state_.BarUnits = 0;
  const int measure =
      state_.LastGlyphWidth == kLastUnknown ? state_.HalfWidthMode : state_.LastGlyphWidth;
  const int w = measure != 0 ? page::kNarrowCell : page::kWideCell;
  const int left = Px(page_.CursorLeft());
  const int top = Px(page_.CursorTop());
  if (state_.InsertMode == 1) {
    // The rest of the line closes the gap; the source is clipped at the page edge, so the
    // line's last w pixels keep what they held.
    if (page_.CursorLeft() > page::kLeftMargin) {
      page_.MoveStrip(left, top, page_.Width() + kEraseStripExtra, page::kCellHeight, left - w,
                      top);
    }
  } else {
    page_.CopyCell(atlas_.Picmode2, 0, 0, w, page::kCellHeight, left - w, top,
                   page::PictureSource::SignAtlas);
  }
  page_.SetCursorLeft(page_.CursorLeft() - w);
  state_.LastGlyphWidth = kLastUnknown;
  if (page_.CursorLeft() >= page::kLeftMargin) return;
  if (page_.CursorTop() > page::kFirstLineTop) {
    // Back to the last cell of the previous line, which is blanked.
    float newTop = page_.CursorTop() - host_.Settings().lineSpacing;
    if (newTop < page::kFirstLineTop) newTop = page::kFirstLineTop;
    page_.SetCursor(WrapLimit(LineWidth()), newTop);
    page_.CopyCell(atlas_.Picmode2, 0, 0, page::kWideCell, page::kCellHeight,
                   Px(page_.CursorLeft()), Px(page_.CursorTop()), page::PictureSource::SignAtlas);
  } else {
    page_.SetCursorLeft(page::kLeftMargin);
  }
}

void GlyphEngine::ClearItemsUnder(int left, int right) {
  if (state_.InsertMode != 0) return;
  const auto blankIfReached = [&](const QRect& box) {
    if (!box.isNull() && box.left() < right && box.right() >= left) page_.FillRect(box, Qt::white);
  };
  for (const reading::ReadItem& item : CursorLine().items) {
    if (!IsStampedItem(item)) continue;
    blankIfReached(item.box);
    blankIfReached(item.accidentalBox);
  }
}

reading::ReadLine GlyphEngine::CursorLine() const {
  return Reader().ReadLineAt(page_.Image(), Px(page_.CursorTop()));
}

const reading::PageReader& GlyphEngine::Reader() const {
  if (!reader_) reader_ = std::make_unique<reading::PageReader>(atlas_);
  return *reader_;
}

void GlyphEngine::PlaceNote(int code, int row) {
  PlaceBeatGap();
  if (code == kDashCode) row = 0;
  state_.LastDurationRow = row;
  const page::LayoutSettings settings = host_.Settings();

  // A dot or accidental just placed gets the duration lines of the cell before it, so an
  // underlined note joins its lines across it. Only whole lines are carried: the ink of a bar
  // line or of octave dots below a note in the cell before must not be copied as a sliver.
  const int join = state_.BeamJoinWidth;
  if (join > 0 && row > 0) {
    const int left = Px(page_.CursorLeft());
    for (int line = 0; line < kDurationLines; ++line) {
      const int y = Px(page_.CursorTop()) + kDurationLineRow + line * kDurationLineStep;
      bool whole = true;
      for (int x = left - 2 * join; x < left - join && whole; ++x) whole = page_.IsBlack(x, y);
      if (whole) page_.MoveStrip(left - 2 * join, y, join, 1, left - join, y);
    }
    state_.BeamJoinWidth = 0;
  }

  // The spacing owed by the previous note, in single precision as the spacing values.
  const float start = page_.CursorLeft();
  const int prev = state_.PrevDurationRow;
  float spacing = 0;
  if (prev >= 0 && prev < kNoSpacingOwed && settings.autoNoteSpacing &&
      state_.NoteSpacing[prev] > 0) {
    spacing = page::kWideCell * state_.NoteSpacing[prev];
  }
  const int spacingPx = Px(spacing);
  const int top = Px(page_.CursorTop());
  if (state_.InsertMode == 1 && start + spacing < WrapLimit(LineWidth())) {
    ShiftLineRight(Px(start), top, spacingPx + page::kWideCell);
  }
  ClearItemsUnder(Px(start), Px(start) + spacingPx + page::kWideCell);
  if (spacing > 0) {
    // An underlined note carries the previous note's lines on through the space.
    if (row > 0) {
      page_.CopyCell(atlas_.Picmode2, page::kWideCell * (kFillerFirstCell + prev), 0, spacingPx,
                     page::kCellHeight, Px(start), top, page::PictureSource::SignAtlas);
    }
    page_.SetCursorLeft(start + spacing);
  }
  page_.CopyCell(atlas_.Picmode, page::kWideCell * code, page::kCellHeight * row, page::kWideCell,
                 page::kCellHeight, Px(page_.CursorLeft()), top, page::PictureSource::NoteAtlas);
  page_.SetCursorLeft(page_.CursorLeft() + page::kWideCell);
  state_.LastGlyphWidth = kLastWide;
  state_.PrevDurationRow = row;
  WrapCursorIfPastMargin();
  CountNote(row);
  host_.PlaySoundFile(QStringLiteral("kac.wav"));
}

void GlyphEngine::PlaceWideSign(int code) {
  if (code == kAugmentationDotCode) {
    // A dot adds half of what the note or the previous dot added; none after a thirty-second.
    if (state_.LastDurationRow >= kShortestRow) return;
    state_.LastDurationRow += 1;
    AddUnits(state_.LastDurationRow);
  }
  const int left = Px(page_.CursorLeft());
  if (state_.InsertMode == 1 && page_.CursorLeft() < WrapLimit(LineWidth())) {
    ShiftLineRight(left, Px(page_.CursorTop()), page::kWideCell);
  }
  ClearItemsUnder(left, left + page::kWideCell);
  CopySignBand(page::kWideCell * (code - 100), 0, page::kWideCell);
  page_.SetCursorLeft(page_.CursorLeft() + page::kWideCell);
  state_.LastGlyphWidth = kLastWide;
  WrapCursorIfPastMargin();

  // After a dot the spacing owed by the dotted note stays owed; after any other sign none is.
  const int glyphClass = ClassifyGlyphCode(code);
  if (glyphClass > 0) {
    state_.BeamJoinWidth = page::kWideCell;
  } else {
    state_.PrevDurationRow = kNoSpacingOwed;
    state_.BeamJoinWidth = 0;
  }
  if (glyphClass == 2) state_.PrevDurationRow = kNoSpacingOwed;

  if (code >= kBarLineCode && code <= 105) CountBarLine();
  if (code == kBarLineCode) host_.PlaySoundFile(QStringLiteral("ding.wav"));
}

void GlyphEngine::PlaceNarrowSign(int code) {
  if (state_.InsertMode == 1 && page_.CursorLeft() < WrapLimit(LineWidth())) {
    ShiftLineRight(Px(page_.CursorLeft()), Px(page_.CursorTop()), page::kNarrowCell);
  }
  ClearItemsUnder(Px(page_.CursorLeft()), Px(page_.CursorLeft()) + page::kNarrowCell);
  CopySignBand(page::kNarrowCell * (code - 200), page::kCellHeight, page::kNarrowCell);
  page_.SetCursorLeft(page_.CursorLeft() + page::kNarrowCell);
  state_.LastGlyphWidth = kLastNarrow;
  WrapCursorIfPastMargin();

  const int glyphClass = ClassifyGlyphCode(code);
  if (glyphClass > 0) {
    state_.BeamJoinWidth = page::kNarrowCell;
  } else {
    state_.PrevDurationRow = kNoSpacingOwed;
    state_.BeamJoinWidth = 0;
  }
  if (glyphClass == 2) state_.PrevDurationRow = kNoSpacingOwed;
}

void GlyphEngine::PlaceBeatGap() {
  const page::LayoutSettings settings = host_.Settings();
  if (!settings.autoBeatSplit || state_.BarUnits <= 0 || state_.BeatUnit == 0) return;
  const int unitsPerBeat = reading::kUnitsPerWhole / state_.BeatUnit;
  if (unitsPerBeat == 0 || state_.BarUnits % unitsPerBeat != 0) return;
  // Half a cell per narrow blank; the blanks owe no spacing and make no join, so the gap takes
  // the place of the note spacing at the start of a beat.
  for (double x = 0.5; x <= settings.beatGap; x += 0.5) PlaceGlyph(kNarrowBlankCode, 0);
}

void GlyphEngine::CountNote(int row) {
  AddUnits(row);
  const std::int32_t product = static_cast<std::int32_t>(state_.BeatUnit) * state_.BarUnits;
  // Without automatic bar lines the count runs on past a full bar, so beat gaps keep their
  // places, until a typed bar line starts the next bar.
  if (product / 32.0 < state_.BeatsPerBar || !host_.Settings().autoBarLines) return;
  const int left = Px(page_.CursorLeft());
  autoBarLine_ = AutoBarLine{Px(page_.CursorTop()), left, left, {}};
  PlaceGlyph(kBarLineCode, 0);
  autoBarLine_->cursorAfter = QPointF(page_.CursorLeft(), page_.CursorTop());
}

std::optional<QPointF> GlyphEngine::NoteEndBeforeAutoBarLine() const {
  if (!autoBarLine_) return std::nullopt;
  const AutoBarLine& bar = *autoBarLine_;
  if (QPointF(page_.CursorLeft(), page_.CursorTop()) != bar.cursorAfter) return std::nullopt;
  // A Backspace and a note typed again, a paste or a new page may have taken it away.
  bool standing = false;
  for (int x = bar.barLeft; x < bar.barLeft + page::kWideCell; ++x)
    standing = standing || IsBarLineAt(page_, x, bar.top);
  if (!standing) return std::nullopt;
  return QPointF(bar.noteEnd, bar.top);
}

void GlyphEngine::CountBarLine() {
  state_.BarUnits = 0;
  state_.BarsInLine += 1;
  if (state_.BarsInLine >= host_.Settings().barsPerLine) EndLine();
}

void GlyphEngine::AddUnits(int row) {
  state_.BarUnits += reading::RowUnits(row);
}

void GlyphEngine::ShiftLineRight(int left, int top, int distance) {
  // What would land in the cleared strip at the line's end is not moved at all: the line moves
  // up to the strip, and what it pushes past the strip's start is lost.
  const int width = LineWidth();
  const int kept = width - page::kEraserStripInset;
  const int moved = kept - distance - left;
  if (moved > 0) page_.MoveStrip(left, top, moved, page::kCellHeight, left + distance, top);
  page_.ClearBlock(kept, top);
}

int GlyphEngine::LineWidth() const {
  return page_.Width() + widening_;
}

void GlyphEngine::CopySignBand(int cellX, int cellY, int width) {
  const int band = state_.GlyphBand;
  const int bandTop = state_.BandTop[band];
  page_.CopyCell(atlas_.Picmode2, cellX, cellY + bandTop, width, state_.BandHeight[band],
                 Px(page_.CursorLeft()), Px(page_.CursorTop()) + bandTop,
                 page::PictureSource::SignAtlas);
}

int GlyphEngine::KeyToGlyphCode(int keyCode) {
  state_.GlyphBand = 0;
  const KeyGlyph glyph = LookUpKey(keyCode, state_.HalfWidthMode != 0);
  state_.GlyphBand = glyph.band;
  int code = glyph.code;
  // Staff input renumbers the notes by scale steps of its key; codes run on across octave
  // groups, so a plain subtraction does it. An unknown key stays at or below 0.
  const page::LayoutSettings settings = host_.Settings();
  if (code < kRestCode && settings.staffInput) code -= settings.staffKey;
  return code;
}

int GlyphEngine::ClassifyGlyphCode(int code) {
  if (code == 201 || code == 202 || code == 203) return 2;
  if (code == kAugmentationDotCode || code == kSmallDotCode) return 1;
  return 0;
}

void GlyphEngine::SwapIntegers(int& a, int& b) {
  std::swap(a, b);
}

void GlyphEngine::WrapCursorIfPastMargin() {
  if (page_.CursorLeft() <= WrapLimit(LineWidth())) return;
  // BarUnits and BarsInLine run on across the wrap; only a line end resets them.
  page_.SetCursor(page::kLeftMargin, page_.CursorTop() + host_.Settings().lineSpacing);
  state_.PrevDurationRow = kNoSpacingOwed;
}

void GlyphEngine::JustifyLine() {
  const int savedInsertMode = state_.InsertMode;
  state_.InsertMode = 1;
  const int width = page_.Width();
  const int top = state_.JustifyTop;

  // Row 5 has ink only in bar lines, so the rightmost ink there is the line's last bar line.
  const auto end = FindLineEnd(page_, top, RoundHalfEven(double(width) + kLineEndSearchBeyond));
  const int spare = end ? RoundHalfEven(double(width - *end - kLineEndInset)) : 0;
  const auto restore = [&] { state_.InsertMode = savedInsertMode; };
  if (spare > kMaxStretchShare * (width - kStretchBaseInset)) return restore();
  // The gap table grows with the line, so a very wide page never writes past it and every gap
  // takes its share.
  const std::vector<int> gaps =
      FindGaps(page_, top, RoundHalfEven(double(width) - page::kMarginLineInset));
  // With ink in every block there is nowhere to put a blank: the line stays as it is.
  if (gaps.empty()) return restore();
  const int units = static_cast<int>(std::floor(spare / double(page::kNarrowCell)));
  const std::vector<int> extra = ShareOutUnits(units, static_cast<int>(gaps.size()));
  if (autoBarLine_ && autoBarLine_->top == top) {
    // Blanks put in at a gap push on everything from the gap's left edge, so a gap right after
    // the note moves the bar line but not the note's end.
    const AutoBarLine before = *autoBarLine_;
    for (size_t i = 0; i < gaps.size(); ++i) {
      if (gaps[i] < before.noteEnd) autoBarLine_->noteEnd += extra[i] * page::kNarrowCell;
      if (gaps[i] <= before.barLeft) autoBarLine_->barLeft += extra[i] * page::kNarrowCell;
    }
  }

  // The wider lines keep the cursor from wrapping while blanks go in; the page clips whatever is
  // pushed past its edge, so it is never reallocated. Right to left, so gaps still to do stay in
  // place.
  widening_ = kJustifyWidening;
  for (int i = static_cast<int>(gaps.size()) - 1; i >= 0; --i) {
    page_.SetCursor(gaps[i], top);
    for (int k = 0; k < extra[i]; ++k) PlaceGlyph(kNarrowBlankCode, 0);
  }
  widening_ = 0;
  restore();
}

void GlyphEngine::EndLine() {
  const page::LayoutSettings settings = host_.Settings();
  state_.JustifyTop = RoundHalfEven(page_.CursorTop());
  if (settings.justifyOnEnter) JustifyLine();
  state_.BarUnits = 0;
  state_.ForgetLastPlaced();
  page_.SetCursor(page::kLeftMargin, page_.CursorTop() + settings.lineSpacing);
  state_.BarsInLine = 0;
  host_.PlaySoundFile(QStringLiteral("5.wav"));
}

}  // namespace tarvesh::engine
