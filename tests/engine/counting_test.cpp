// Beat counting: beat gaps, automatic bar lines, the line break after the last bar, sounds.
#include <vector>

#include "enginefixture.h"

namespace tarvesh::engine::testing {
namespace {

constexpr int kPlainOne = 14;
constexpr int kPlainThree = 16;
constexpr int kPlainFive = 18;

struct Step {
  int code;
  int row;
};

struct CountCase {
  const char* name;
  int beatsPerBar;
  int beatUnit;
  bool autoBeatSplit;
  double beatGap;
  std::vector<Step> steps;
  std::vector<int> cursorAfter;  // cursor Left after each step
  int barLine;                   // x of the one bar line the steps end with
};

class BeatCounting : public EngineTest, public ::testing::WithParamInterface<CountCase> {};

TEST_P(BeatCounting, GapsBeforeBeatsAndABarLineWhenTheBarIsFull) {
  const CountCase& c = GetParam();
  state.BeatsPerBar = c.beatsPerBar;
  state.BeatUnit = c.beatUnit;
  host.settings.autoBeatSplit = c.autoBeatSplit;
  host.settings.beatGap = c.beatGap;
  ASSERT_EQ(c.steps.size(), c.cursorAfter.size());
  for (size_t i = 0; i < c.steps.size(); ++i) {
    Place(c.steps[i].code, c.steps[i].row);
    EXPECT_EQ(Cursor(), QPointF(c.cursorAfter[i], kTop)) << "after step " << i;
  }
  EXPECT_EQ(BarLines(), std::vector<int>{c.barLine});
  EXPECT_EQ(state.BarUnits, 0);
  EXPECT_EQ(state.BarsInLine, 1);
  // The bar line's sound comes before the sound of the note that filled the bar.
  EXPECT_EQ(host.sounds.mid(host.sounds.size() - 2), (QStringList{"ding.wav", "kac.wav"}));
}

const std::vector<Step> kFourQuarters(4, Step{kPlainFive, 0});

INSTANTIATE_TEST_SUITE_P(
    Engine, BeatCounting,
    ::testing::Values(
        CountCase{"QuartersHalfCellGap", 4, 4, true, 0.5, kFourQuarters, {32, 50, 68, 98}, 93},
        CountCase{"QuartersWholeCellGap", 4, 4, true, 1, kFourQuarters, {32, 56, 80, 116}, 111},
        CountCase{"Eighths",
                  4,
                  4,
                  true,
                  1,
                  std::vector<Step>(8, Step{kPlainFive, 1}),
                  {32, 50, 74, 92, 116, 134, 158, 188},
                  183},
        CountCase{"ThreeEight",
                  3,
                  8,
                  true,
                  1,
                  std::vector<Step>(3, Step{kPlainFive, 1}),
                  {32, 56, 92},
                  87},
        // The dash is a quarter whatever row it is typed with.
        CountCase{"Dashes",
                  4,
                  4,
                  true,
                  1,
                  {{kPlainOne, 0}, {kDashCode, 1}, {kDashCode, 1}, {kDashCode, 1}},
                  {32, 56, 80, 116},
                  111},
        // Without beat splitting the note spacing still applies.
        CountCase{"SplittingOff", 4, 4, false, 1, kFourQuarters, {32, 50, 68, 98}, 93},
        // Backspace takes the note's beat back: the bar ends where it would have had the
        // erased note never been typed.
        CountCase{"EraseTakesItsBeatBack",
                  4,
                  4,
                  true,
                  1,
                  {{kPlainFive, 0},
                   {kPlainFive, 0},
                   {kEraseCode, 0},
                   {kPlainFive, 0},
                   {kPlainFive, 0},
                   {kPlainFive, 0}},
                  {32, 56, 32, 56, 80, 116},
                  111}),
    [](const auto& info) { return std::string(info.param.name); });

// Eight bars of four quarters on the default page: the eighth bar line lands at x = 639.
void TypeEightBars(GlyphEngine& engine) {
  for (int i = 0; i < 32; ++i) engine.PlaceGlyph(kPlainFive, 0);
}

TEST_F(EngineTest, LastBarLineOfALineStartsTheNextLineJustified) {
  TypeEightBars(engine);
  EXPECT_EQ(Cursor(), QPointF(20, kTop + kLineSpacing));
  const std::vector<int> bars = BarLines();
  ASSERT_EQ(bars.size(), 8u);
  EXPECT_GT(bars.back(), 639) << "stretched to the page width";
  EXPECT_LE(bars.back(), Width() - 17);
  EXPECT_TRUE(BarLines(kTop + kLineSpacing).empty());
  EXPECT_EQ(state.BarsInLine, 0);
  EXPECT_EQ(state.BarUnits, 0);
  EXPECT_EQ(state.LastGlyphWidth, 2);
  EXPECT_EQ(host.sounds.mid(host.sounds.size() - 3), (QStringList{"5.wav", "ding.wav", "kac.wav"}));

  // The break justifies the finished line exactly as Enter would have before moving on.
  page::ScorePage plainPage(Width(), page.Height());
  page::EngineState plainState;
  RecordingHost plainHost;
  plainHost.settings.justifyOnEnter = false;
  GlyphEngine plain(plainPage, Atlas(), plainState, plainHost);
  TypeEightBars(plain);
  EXPECT_EQ(QPointF(plainPage.CursorLeft(), plainPage.CursorTop()),
            QPointF(20, kTop + kLineSpacing));
  plainState.JustifyTop = kTop;
  plain.JustifyLine();
  EXPECT_EQ(plainPage.Image(), page.Image());
}

TEST_F(EngineTest, LineBreakWithoutJustificationLeavesTheLine) {
  host.settings.justifyOnEnter = false;
  TypeEightBars(engine);
  EXPECT_EQ(BarLines().back(), 639);
  EXPECT_EQ(Cursor(), QPointF(20, kTop + kLineSpacing));
}

TEST_F(EngineTest, FewerBarsPerLineBreakSooner) {
  host.settings.justifyOnEnter = false;
  host.settings.barsPerLine = 4;
  for (int i = 0; i < 16; ++i) Place(kPlainFive);
  EXPECT_EQ(BarLines().size(), 4u);
  EXPECT_EQ(Cursor(), QPointF(20, kTop + kLineSpacing));
}

struct SoundCase {
  const char* name;
  std::vector<Step> steps;
  QStringList sounds;
};

class Sounds : public EngineTest, public ::testing::WithParamInterface<SoundCase> {};

TEST_P(Sounds, PlayInTheOrderTheStepsFinish) {
  const SoundCase& c = GetParam();
  for (const Step& s : c.steps) Place(s.code, s.row);
  EXPECT_EQ(host.sounds, c.sounds);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, Sounds,
    ::testing::Values(
        SoundCase{"NoteClicks", {{kPlainFive, 0}}, {"kac.wav"}},
        SoundCase{"DashAndRestClick", {{kDashCode, 0}, {kRestCode, 0}}, {"kac.wav", "kac.wav"}},
        SoundCase{"BarLineChimes", {{kBarLineCode, 0}}, {"ding.wav"}},
        SoundCase{"OtherBarSignsAreSilent", {{102, 0}, {103, 0}, {104, 0}, {105, 0}}, {}},
        SoundCase{"SignsAndEraseAreSilent",
                  {{kWideBlankCode, 0}, {kNarrowBlankCode, 0}, {201, 0}, {kEraseCode, 0}},
                  {}},
        SoundCase{"DotIsSilent", {{kPlainFive, 0}, {kAugmentationDotCode, 0}}, {"kac.wav"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Sounds, NoteFillingTheLastBarPlaysLineThenBarThenNote) {
  host.settings.justifyOnEnter = false;
  state.BarsInLine = 7;
  state.BarUnits = 24;
  Place(kPlainFive);
  EXPECT_EQ(host.sounds, (QStringList{"5.wav", "ding.wav", "kac.wav"}));
}

TEST_F(EngineTest, TypedBarLinesCountTowardsTheLine) {
  host.settings.justifyOnEnter = false;
  state.BarUnits = 12;
  for (int code : {101, 102, 103, 104, 105, 101, 101}) Place(code);
  EXPECT_EQ(state.BarsInLine, 7);
  EXPECT_EQ(state.BarUnits, 0);
  Place(207);  // the narrow bar line is not counted
  EXPECT_EQ(state.BarsInLine, 7);
  Place(101);
  EXPECT_EQ(Cursor(), QPointF(20, kTop + kLineSpacing));
}

struct MeterCase {
  const char* name;
  int beatsPerBar;
  int beatUnit;
  int row;  // every note has this duration row
  int notesPerBar;
  int unitsPerBar;
};

// Notes typed on a page of their own, in a line of two bars.
struct Typist {
  Typist(const page::ScorePage& like, int beatsPerBar, int beatUnit, bool autoBarLines)
      : page(like.Width(), like.Height()) {
    state.BeatsPerBar = beatsPerBar;
    state.BeatUnit = beatUnit;
    host.settings.autoBarLines = autoBarLines;
    host.settings.barsPerLine = 2;
  }
  QPointF Cursor() const { return {page.CursorLeft(), page.CursorTop()}; }

  page::ScorePage page;
  page::EngineState state;
  RecordingHost host;
  GlyphEngine engine{page, TestAtlas(), state, host};
};

class BarLinesOff : public EngineTest, public ::testing::WithParamInterface<MeterCase> {};

// 自动输入小节线 off: the beats are counted as before, but no bar line goes in by itself; the
// bar lines come from their key, and the line ends after the bars the line holds.
TEST_P(BarLinesOff, BeatsCountOnAndOnlyTypedBarLinesCloseBarsAndLines) {
  const MeterCase& c = GetParam();
  state.BeatsPerBar = c.beatsPerBar;
  state.BeatUnit = c.beatUnit;
  host.settings.autoBarLines = false;
  host.settings.barsPerLine = 2;
  const int notes = 2 * c.notesPerBar;
  std::vector<double> steps;
  for (int i = 0; i < notes; ++i) {
    const double before = page.CursorLeft();
    Place(kPlainFive, c.row);
    steps.push_back(page.CursorLeft() - before);
  }
  EXPECT_TRUE(BarLines().empty());
  EXPECT_EQ(state.BarUnits, 2 * c.unitsPerBar);
  EXPECT_EQ(state.BarsInLine, 0);
  EXPECT_EQ(Cursor().y(), kTop) << "two bars' notes do not end a line of two bars";
  EXPECT_FALSE(host.sounds.contains("ding.wav"));
  // Every note here starts a beat, the first of the second bar too: one beat gap before each.
  for (int i = 2; i < notes; ++i) EXPECT_EQ(steps[size_t(i)], steps[1]) << "note " << i;

  // Bar lines typed where the switch would put them give what the switch gives, line end
  // included.
  Typist typed(page, c.beatsPerBar, c.beatUnit, false);
  Typist automatic(page, c.beatsPerBar, c.beatUnit, true);
  for (int bar = 0; bar < 2; ++bar) {
    for (int i = 0; i < c.notesPerBar; ++i) {
      typed.engine.PlaceGlyph(kPlainFive, c.row);
      automatic.engine.PlaceGlyph(kPlainFive, c.row);
    }
    typed.engine.PlaceGlyph(kBarLineCode, 0);
  }
  EXPECT_EQ(typed.page.Image(), automatic.page.Image());
  EXPECT_EQ(typed.Cursor(), QPointF(page::kLeftMargin, kTop + kLineSpacing));
  EXPECT_EQ(automatic.Cursor(), typed.Cursor());
  EXPECT_EQ(typed.state.BarUnits, 0);
  EXPECT_EQ(typed.state.BarsInLine, 0);
}

INSTANTIATE_TEST_SUITE_P(Engine, BarLinesOff,
                         ::testing::Values(MeterCase{"TwoFour", 2, 4, 0, 2, 16},
                                           MeterCase{"ThreeFour", 3, 4, 0, 3, 24},
                                           MeterCase{"SixEight", 6, 8, 1, 6, 24}),
                         [](const auto& info) { return std::string(info.param.name); });

// In 2/4: 3, then the eighths 3 5 fill the bar and its bar line goes in by itself.
void TypeAFullBarOfTwoFour(GlyphEngine& engine) {
  engine.PlaceGlyph(kPlainThree, 0);
  engine.PlaceGlyph(kPlainThree, 1);
  engine.PlaceGlyph(kPlainFive, 1);
}

TEST_F(EngineTest, KnowsWhereTheNoteBeforeAnAutomaticBarLineEnds) {
  state.BeatsPerBar = 2;
  EXPECT_FALSE(engine.NoteEndBeforeAutoBarLine());
  Place(kPlainOne, 0);
  Place(kBarLineCode);
  EXPECT_FALSE(engine.NoteEndBeforeAutoBarLine()) << "a typed bar line";
  TypeAFullBarOfTwoFour(engine);
  const std::optional<QPointF> end = engine.NoteEndBeforeAutoBarLine();
  ASSERT_TRUE(end);
  EXPECT_EQ(end->y(), kTop);
  const int x = int(end->x());
  EXPECT_EQ(CellAt(x - page::kWideCell, kTop), NoteCell(kPlainFive, 1));
  EXPECT_EQ(BarLines().back(), x + 7);
  EXPECT_EQ(Cursor(), QPointF(x + page::kWideCell, kTop));

  Place(kPlainOne, 1);
  EXPECT_FALSE(engine.NoteEndBeforeAutoBarLine()) << "the cursor has moved on";
  Place(kEraseCode);
  EXPECT_EQ(engine.NoteEndBeforeAutoBarLine(), end) << "right after the bar line again";
  // Backspace right after the bar line takes the note that put it in with it, back to where
  // the half cell of spacing before that eighth began.
  Place(kEraseCode);
  EXPECT_EQ(Cursor(), QPointF(x - page::kWideCell - page::kNarrowCell, kTop));
  EXPECT_FALSE(engine.NoteEndBeforeAutoBarLine()) << "the bar line was erased";
  Place(kPlainOne, 1);
  EXPECT_EQ(Cursor(), QPointF(x + page::kWideCell, kTop));
  EXPECT_EQ(engine.NoteEndBeforeAutoBarLine(), end) << "the bar line is back with the new note";
}

// When the bar line ends the line, justification moves the note on, and the bar line perhaps
// further: the end follows the note.
TEST_F(EngineTest, TheNoteEndFollowsTheJustifiedLine) {
  // Eight bars of 60: a line of eight short bars of 2/4 fills enough of it to be stretched.
  const int width = page::PageWidthFor(8, 60);
  page.Resize(width, page::PageHeightFor(width));
  state.BeatsPerBar = 2;
  Typist plain(page, 2, 4, true);
  plain.host.settings.barsPerLine = 8;
  plain.host.settings.justifyOnEnter = false;
  for (GlyphEngine* typist : {&engine, &plain.engine}) {
    for (int i = 0; i < 14; ++i) typist->PlaceGlyph(kPlainOne, 0);
    TypeAFullBarOfTwoFour(*typist);
  }
  EXPECT_EQ(Cursor(), QPointF(page::kLeftMargin, kTop + kLineSpacing));
  const std::optional<QPointF> end = engine.NoteEndBeforeAutoBarLine();
  const std::optional<QPointF> plainEnd = plain.engine.NoteEndBeforeAutoBarLine();
  ASSERT_TRUE(end);
  ASSERT_TRUE(plainEnd);
  EXPECT_EQ(end->y(), kTop);
  EXPECT_GT(end->x(), plainEnd->x()) << "moved on by the justification";
  const int x = int(end->x());
  EXPECT_EQ(CellAt(x - page::kWideCell, kTop), NoteCell(kPlainFive, 1));
  ASSERT_EQ(BarLines().size(), 8u);
  EXPECT_GE(BarLines().back(), x + 7);
}

}  // namespace
}  // namespace tarvesh::engine::testing
