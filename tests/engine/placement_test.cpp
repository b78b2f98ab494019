// Stamping notes and signs: spacing, duration-line joins, bands, erase, insert shifts, wrap.
#include <array>

#include "enginefixture.h"

namespace tarvesh::engine::testing {
namespace {

constexpr int kPlainFive = 18;
constexpr int kDurationLine = 26;  // first duration line, from the line top

struct SpacingCase {
  const char* name;
  int row;
  bool autoNoteSpacing;
  std::array<int, 3> lefts;  // where the three notes land
};

class NoteSpacing : public EngineTest, public ::testing::WithParamInterface<SpacingCase> {};

TEST_P(NoteSpacing, ThreeNotesLandOnTheirCells) {
  const SpacingCase& c = GetParam();
  host.settings.autoBeatSplit = false;
  host.settings.autoNoteSpacing = c.autoNoteSpacing;
  for (int left : c.lefts) {
    Place(kPlainFive, c.row);
    EXPECT_EQ(CellAt(left, kTop), NoteCell(kPlainFive, c.row)) << "note at " << left;
    EXPECT_EQ(Cursor(), QPointF(left + 12, kTop));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Engine, NoteSpacing,
    ::testing::Values(SpacingCase{"QuartersOweHalfACell", 0, true, {20, 38, 56}},
                      SpacingCase{"EighthsOweHalfACell", 1, true, {20, 38, 56}},
                      SpacingCase{"SixteenthsOweNothing", 2, true, {20, 32, 44}},
                      SpacingCase{"SpacingSwitchedOff", 0, false, {20, 32, 44}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NoteSpacing, DurationLineRunsUnbrokenThroughADot) {
  host.settings.autoBeatSplit = false;
  Place(kPlainFive, 1);
  Place(kAugmentationDotCode);
  Place(kPlainFive, 1);
  // Eighth at 20, dot at 32, filler at 44, eighth at 50.
  EXPECT_EQ(BlackRuns(kTop + kDurationLine, 0, Width()), (Runs{{20, 62}}));
  EXPECT_EQ(BlackRuns(kTop + 28, 0, Width()), Runs{});
  EXPECT_EQ(CellAt(50, kTop), NoteCell(kPlainFive, 1));
  EXPECT_TRUE(page.IsBlack(33, kTop + 15)) << "the dot itself";
}

TEST_F(NoteSpacing, QuarterAfterADotLeavesTheDotWithoutLines) {
  host.settings.autoBeatSplit = false;
  Place(kPlainFive, 1);
  Place(kAugmentationDotCode);
  Place(kPlainFive, 0);
  EXPECT_EQ(BlackRuns(kTop + kDurationLine, 0, Width()), (Runs{{20, 32}}));
}

TEST_F(NoteSpacing, AccidentalKeepsTheRowsOutsideItsBand) {
  state.InsertMode = 0;
  page.FillRect(QRect(20, kTop, 6, 40), Qt::black);
  const int code = engine.KeyToGlyphCode(77);  // M: sharp, upper band
  ASSERT_EQ(code, 202);
  Place(code);
  const QImage cell = CellAt(20, kTop, 6);
  const QImage sharp = Atlas().Picmode2.copy(6 * 2, 40, 6, 40);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 6; ++x) {
      const bool inBand = y >= 3 && y <= 24;
      const QRgb expected = inBand ? sharp.pixel(x, y) : qRgb(0, 0, 0);
      EXPECT_EQ(cell.pixel(x, y), expected) << x << "," << y;
    }
  }
  EXPECT_EQ(Cursor(), QPointF(26, kTop));
}

struct BackspaceCase {
  const char* name;
  int halfWidthMode;
  int secondStep;  // how far the second Backspace goes back
};

class Backspace : public EngineTest, public ::testing::WithParamInterface<BackspaceCase> {};

// With no item before the cursor, Backspace goes back by cells: the width of the glyph just
// placed, then the entry width.
TEST_P(Backspace, AfterANarrowGlyphThenByTheEntryWidth) {
  const BackspaceCase& c = GetParam();
  for (int i = 0; i < 4; ++i) Place(kNarrowBlankCode);
  state.HalfWidthMode = c.halfWidthMode;
  Place(kEraseCode);
  EXPECT_EQ(Cursor(), QPointF(38, kTop));
  Place(kEraseCode);
  EXPECT_EQ(Cursor(), QPointF(38 - c.secondStep, kTop));
  EXPECT_EQ(state.LastGlyphWidth, 2);
  EXPECT_EQ(state.PrevDurationRow, 5);
}

INSTANTIATE_TEST_SUITE_P(Engine, Backspace,
                         ::testing::Values(BackspaceCase{"FullWidth", 0, 12},
                                           BackspaceCase{"HalfWidth", 1, 6}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Backspace, AtTheStartOfTheSecondLineBlanksTheEndOfTheFirst) {
  page.FillRect(QRect(940, kTop, 48, 40), Qt::black);
  page.SetCursor(20, kTop + kLineSpacing);
  state.BarUnits = 12;
  Place(kEraseCode);
  EXPECT_EQ(Cursor(), QPointF(956, kTop));
  EXPECT_EQ(BlackRuns(kTop + 20, 900, Width()), (Runs{{940, 956}, {968, 988}}));
  EXPECT_EQ(state.BarUnits, 0);
}

TEST_F(Backspace, AtTheStartOfTheFirstLineStaysAtTheMargin) {
  page.FillRect(QRect(20, kTop, 30, 40), Qt::black);
  const QImage before = page.Image();
  Place(kEraseCode);
  EXPECT_EQ(Cursor(), QPointF(20, kTop));
  EXPECT_EQ(page.Image(), before);
}

TEST_F(Backspace, InInsertModeTheLineClosesUpToTheLastPixels) {
  page.FillRect(QRect(100, kTop, 6, 40), Qt::black);
  page.FillRect(QRect(984, kTop, 4, 40), Qt::black);
  page.SetCursor(50, kTop);
  state.LastGlyphWidth = 0;
  Place(kEraseCode);
  // The source is clipped at the edge, so the line's last 12 pixels keep their old content.
  EXPECT_EQ(BlackRuns(kTop + 10, 0, Width()), (Runs{{88, 94}, {972, 976}, {984, 988}}));
}

TEST_F(EngineTest, InsertPushesTheLineBySpacingPlusACellAndLosesItsEnd) {
  page.FillRect(QRect(100, kTop, 6, 40), Qt::black);
  page.FillRect(QRect(950, kTop, 38, 40), Qt::black);
  page.FillRect(QRect(100, kTop + kLineSpacing, 6, 40), Qt::black);
  state.PrevDurationRow = 0;  // a quarter before owes half a cell
  host.settings.autoBeatSplit = false;
  Place(kPlainFive);
  EXPECT_EQ(CellAt(26, kTop), NoteCell(kPlainFive, 0));
  EXPECT_EQ(Cursor(), QPointF(38, kTop));
  // Pushed by 18; what reaches the last 20 pixels of the line is cleared.
  EXPECT_EQ(BlackRuns(kTop + 5, 40, Width()), (Runs{{118, 124}}));
  EXPECT_EQ(BlackRuns(kTop + kLineSpacing + 5, 0, Width()), (Runs{{100, 106}}));
}

TEST_F(EngineTest, OverwriteStampsWithoutPushing) {
  state.InsertMode = 0;
  page.FillRect(QRect(32, kTop, 6, 40), Qt::black);
  Place(kPlainFive);
  EXPECT_EQ(BlackRuns(kTop + 5, 20, Width()), (Runs{{32, 38}}));
}

struct WrapCase {
  const char* name;
  int start;
  QPointF after;
};

class Wrap : public EngineTest, public ::testing::WithParamInterface<WrapCase> {};

TEST_P(Wrap, PastTheMarginGoesToTheNextLineKeepingTheCount) {
  const WrapCase& c = GetParam();
  host.settings.autoBeatSplit = false;
  page.SetCursor(c.start, kTop);
  state.BarsInLine = 3;
  Place(kPlainFive);
  EXPECT_EQ(Cursor(), c.after);
  EXPECT_EQ(state.BarUnits, 8);
  EXPECT_EQ(state.BarsInLine, 3);
}

INSTANTIATE_TEST_SUITE_P(Engine, Wrap,
                         ::testing::Values(WrapCase{"EndsOnTheMargin", 944, {956, 96}},
                                           WrapCase{"EndsPastTheMargin", 950, {20, 156}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Wrap, OwesNoSpacingOnTheNewLine) {
  host.settings.autoBeatSplit = false;
  page.SetCursor(950, kTop);
  Place(kPlainFive);
  Place(kPlainFive);
  EXPECT_EQ(CellAt(20, kTop + 60), NoteCell(kPlainFive, 0));
}

TEST_F(Wrap, ComparesTheMarginInSinglePrecision) {
  page.SetCursor(956.25f, kTop);
  engine.WrapCursorIfPastMargin();
  EXPECT_EQ(Cursor(), QPointF(20, kTop + 60));
}

struct DotCase {
  const char* name;
  int row;
  int dotsDrawn;   // of four typed
  int unitsAfter;  // the note and its dots
};

class AugmentationDot : public EngineTest, public ::testing::WithParamInterface<DotCase> {};

TEST_P(AugmentationDot, RefusedAfterAThirtySecondAndAsFourthDot) {
  const DotCase& c = GetParam();
  host.settings.autoBeatSplit = false;
  Place(kPlainFive, c.row);
  for (int i = 0; i < 4; ++i) Place(kAugmentationDotCode);
  EXPECT_EQ(Cursor(), QPointF(32 + 12 * c.dotsDrawn, kTop));
  EXPECT_EQ(state.BarUnits, c.unitsAfter);
  EXPECT_EQ(state.LastDurationRow, 3);
}

INSTANTIATE_TEST_SUITE_P(Engine, AugmentationDot,
                         ::testing::Values(DotCase{"Quarter", 0, 3, 8 + 4 + 2 + 1},
                                           DotCase{"Eighth", 1, 2, 4 + 2 + 1},
                                           DotCase{"Sixteenth", 2, 1, 2 + 1},
                                           DotCase{"ThirtySecond", 3, 0, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineTest, CodesOutsideTheRangesDoNothing) {
  page.FillRect(QRect(20, kTop, 50, 40), Qt::black);
  const QImage before = page.Image();
  state.BarUnits = 12;
  for (int code : {-1, -35, 300, 998, 1000, 32767}) {
    Place(code);
    EXPECT_EQ(page.Image(), before) << code;
    EXPECT_EQ(Cursor(), QPointF(20, kTop)) << code;
  }
  EXPECT_EQ(state.BarUnits, 12);
  EXPECT_TRUE(host.sounds.isEmpty());
}

TEST_F(EngineTest, EndLineResetsTheLineAndMovesDown) {
  host.settings.justifyOnEnter = false;
  page.SetCursor(200, kTop);
  state.BarUnits = 16;
  state.BarsInLine = 3;
  state.BeamJoinWidth = 12;
  state.PrevDurationRow = 0;
  engine.EndLine();
  EXPECT_EQ(Cursor(), QPointF(20, kTop + 60));
  EXPECT_EQ(state.JustifyTop, kTop);
  EXPECT_EQ(state.BarUnits, 0);
  EXPECT_EQ(state.BarsInLine, 0);
  EXPECT_EQ(state.BeamJoinWidth, 0);
  EXPECT_EQ(state.PrevDurationRow, 5);
  EXPECT_EQ(state.LastGlyphWidth, 2);
  EXPECT_EQ(host.sounds, QStringList{"5.wav"});
  // The next note owes no spacing and starts a new count.
  Place(kPlainFive);
  EXPECT_EQ(Cursor(), QPointF(32, kTop + 60));
  EXPECT_EQ(state.BarUnits, 8);
}

}  // namespace
}  // namespace tarvesh::engine::testing
