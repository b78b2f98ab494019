// Backspace takes the whole item before the cursor: no ink of it is left, and the next key lands
// and counts as if the item had never been typed.
#include <vector>

#include "engine/keymap.h"
#include "enginefixture.h"

namespace tarvesh::engine::testing {
namespace {

constexpr int kPlainTwo = 15;
constexpr int kPlainFive = 18;
constexpr int kLowSix = 12;
constexpr int kHighThree = 23;
constexpr int kSyllable = 38;
constexpr int kSharp = 202;
constexpr int kFlat = 203;
constexpr int kOpenParen = 113;
constexpr int kNarrowCloseParen = 210;
constexpr int kRepeatEnd = 103;

struct Step {
  int code;
  int row;
};

struct EraseCase {
  const char* name;
  std::vector<Step> before;  // typed first
  Step item;                 // typed, then erased
  int insertMode;
};

class EraseItem : public EngineTest, public ::testing::WithParamInterface<EraseCase> {
 protected:
  void Type(GlyphEngine& typist, page::EngineState& s, const Step& step) {
    s.GlyphBand = step.code >= 201 && step.code <= 203 ? kAccidentalBand : 0;
    typist.PlaceGlyph(step.code, step.row);
  }
};

// The next key after the erase: an eighth, so a join through a dot or accidental shows too.
const Step kNext{kPlainTwo, 1};

TEST_P(EraseItem, LeavesThePageAndTheCountAsIfItWasNeverTyped) {
  const EraseCase& c = GetParam();
  // The same keys without the item, on a page of their own.
  page::ScorePage plainPage(page.Width(), page.Height());
  page::EngineState plainState;
  GlyphEngine plain(plainPage, Atlas(), plainState, host);
  state.BeatsPerBar = plainState.BeatsPerBar = 2;
  state.InsertMode = plainState.InsertMode = c.insertMode;
  for (const Step& step : c.before) {
    Type(engine, state, step);
    Type(plain, plainState, step);
  }
  Type(engine, state, c.item);
  Place(kEraseCode);

  EXPECT_EQ(page.Image(), plainPage.Image()) << "ink of the item is left";
  EXPECT_EQ(Cursor(), QPointF(plainPage.CursorLeft(), plainPage.CursorTop()));
  EXPECT_EQ(state.BarUnits, plainState.BarUnits);
  EXPECT_EQ(state.BarsInLine, plainState.BarsInLine);
  EXPECT_EQ(state.PrevDurationRow, plainState.PrevDurationRow);
  EXPECT_EQ(state.BeamJoinWidth, plainState.BeamJoinWidth);

  Type(engine, state, kNext);
  Type(plain, plainState, kNext);
  EXPECT_EQ(page.Image(), plainPage.Image()) << "the next key lands elsewhere";
  EXPECT_EQ(state.BarUnits, plainState.BarUnits);
}

const std::vector<Step> kEighthNote{{kPlainFive, 1}};

INSTANTIATE_TEST_SUITE_P(
    Engine, EraseItem,
    ::testing::Values(
        EraseCase{"FirstNoteOfTheLine", {}, {kPlainFive, 0}, 1},
        EraseCase{"QuarterAfterAQuarter", {{kPlainFive, 0}}, {kLowSix, 0}, 1},
        EraseCase{"SixteenthWithItsSpacingLines", kEighthNote, {kHighThree, 2}, 1},
        EraseCase{"ThirtySecondOverwriting", kEighthNote, {kPlainFive, 3}, 0},
        EraseCase{"RestAfterABeatGap", {{kPlainFive, 0}}, {kRestCode, 1}, 1},
        EraseCase{"Syllable", kEighthNote, {kSyllable, 1}, 1},
        EraseCase{"Dash", {{kPlainFive, 0}}, {kDashCode, 0}, 1},
        EraseCase{"AugmentationDot", kEighthNote, {kAugmentationDotCode, 0}, 1},
        EraseCase{"SecondDot",
                  {{kPlainFive, 0}, {kAugmentationDotCode, 0}},
                  {kAugmentationDotCode, 0},
                  1},
        EraseCase{"NoteJoinedThroughADot",
                  {{kPlainFive, 1}, {kAugmentationDotCode, 0}},
                  {kPlainFive, 2},
                  1},
        EraseCase{
            "NoteAfterItsAccidentalWhichStays", {{kPlainFive, 1}, {kSharp, 0}}, {kPlainFive, 1}, 1},
        EraseCase{"Accidental", kEighthNote, {kSharp, 0}, 1},
        EraseCase{
            "NoteJoinedThroughAnAccidental", {{kPlainFive, 1}, {kFlat, 0}}, {kPlainTwo, 1}, 0},
        EraseCase{"TypedBarLine", {{kPlainFive, 0}}, {kBarLineCode, 0}, 1},
        EraseCase{"RepeatSign", {{kPlainFive, 0}}, {kRepeatEnd, 0}, 1},
        // The note that fills the bar took its bar line with it, and both go.
        EraseCase{"NoteThatFilledTheBar", {{kPlainFive, 0}}, {kLowSix, 0}, 1},
        EraseCase{"WideParenthesis", kEighthNote, {kOpenParen, 0}, 1},
        EraseCase{"NarrowParenthesisOverwriting", kEighthNote, {kNarrowCloseParen, 0}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarvesh::engine::testing
