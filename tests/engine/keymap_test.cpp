// The key table, the staff-key shift and the glyph classes.
#include "enginefixture.h"

namespace tarvesh::engine::testing {
namespace {

struct KeyCase {
  int key;
  int halfWidthMode;
  int code;
  int band;
};

class KeyTable : public EngineTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyTable, GivesItsGlyphCodeAndBand) {
  const KeyCase& c = GetParam();
  state.HalfWidthMode = c.halfWidthMode;
  state.GlyphBand = 7;  // whatever the previous key left
  EXPECT_EQ(engine.KeyToGlyphCode(c.key), c.code);
  EXPECT_EQ(state.GlyphBand, c.band);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, KeyTable,
    ::testing::Values(
        // Digits 1-8: plain 1-7, then the high 1; I is a plain 1 too.
        KeyCase{49, 0, 14, 0}, KeyCase{55, 0, 20, 0}, KeyCase{56, 0, 21, 0}, KeyCase{73, 0, 14, 0},
        // F1-F12 run on from the high 1 to the notes with two dots above.
        KeyCase{112, 0, 21, 0}, KeyCase{118, 0, 27, 0}, KeyCase{119, 0, 28, 0},
        KeyCase{123, 0, 32, 0},
        // The letter row is the low octave.
        KeyCase{81, 0, 7, 0}, KeyCase{87, 0, 8, 0}, KeyCase{69, 0, 9, 0}, KeyCase{82, 0, 10, 0},
        KeyCase{84, 0, 11, 0}, KeyCase{89, 0, 12, 0}, KeyCase{85, 0, 13, 0}, KeyCase{79, 0, 35, 0},
        KeyCase{90, 0, 36, 0}, KeyCase{88, 0, 37, 0}, KeyCase{67, 0, 38, 0}, KeyCase{86, 0, 39, 0},
        KeyCase{66, 0, 40, 0}, KeyCase{189, 0, 41, 0}, KeyCase{192, 0, 41, 0},
        KeyCase{72, 0, 101, 0}, KeyCase{65, 0, 101, 0}, KeyCase{219, 0, 102, 0},
        KeyCase{221, 0, 103, 0}, KeyCase{220, 0, 104, 0}, KeyCase{222, 0, 105, 0},
        KeyCase{190, 0, 115, 0},
        // Accidentals go in the upper band so duration lines under them survive.
        KeyCase{78, 0, 201, 2}, KeyCase{77, 0, 202, 2}, KeyCase{188, 0, 203, 2},
        // Space and the parentheses follow the entry width.
        KeyCase{32, 0, 100, 0}, KeyCase{32, 1, 200, 0}, KeyCase{57, 0, 113, 0},
        KeyCase{57, 1, 209, 0}, KeyCase{48, 0, 114, 0}, KeyCase{48, 1, 210, 0},
        KeyCase{8, 0, 999, 0}, KeyCase{8, 1, 999, 0},
        // Unbound keys: keypad 5 and 6, multiply, Home.
        KeyCase{101, 0, 0, 0}, KeyCase{102, 0, 0, 0}, KeyCase{106, 0, 0, 0}, KeyCase{36, 0, 0, 0}));

struct StaffCase {
  bool staffInput;
  int staffKey;
  int key;
  int code;
};

class StaffKeyShift : public EngineTest, public ::testing::WithParamInterface<StaffCase> {};

TEST_P(StaffKeyShift, RenumbersNotesByScaleSteps) {
  const StaffCase& c = GetParam();
  host.settings.staffInput = c.staffInput;
  host.settings.staffKey = c.staffKey;
  EXPECT_EQ(engine.KeyToGlyphCode(c.key), c.code);
}

INSTANTIATE_TEST_SUITE_P(Engine, StaffKeyShift,
                         ::testing::Values(StaffCase{true, 4, 53, 14},  // "G or bG": 5 is a plain 1
                                           StaffCase{false, 4, 53, 18},  // switch off: no shift
                                           StaffCase{true, 6, 81, 1},    // across octave groups
                                           StaffCase{true, 4, 79, 35},   // the rest is not a note
                                           StaffCase{true, 4, 65, 101},  // signs are not shifted
                                           StaffCase{true, 4, 75,
                                                     -4}));  // an unbound key stays no glyph

TEST(GlyphClass, DotsAndNarrowAccidentalsLetLinesPass) {
  const std::pair<int, int> table[] = {{201, 2}, {202, 2}, {203, 2}, {115, 1}, {211, 1}, {106, 0},
                                       {107, 0}, {101, 0}, {200, 0}, {18, 0},  {999, 0}, {-1, 0}};
  for (auto [code, glyphClass] : table)
    EXPECT_EQ(GlyphEngine::ClassifyGlyphCode(code), glyphClass) << code;
}

TEST(SwapIntegers, ExchangesBothValues) {
  int a = 3, b = -7;
  GlyphEngine::SwapIntegers(a, b);
  EXPECT_EQ(a, -7);
  EXPECT_EQ(b, 3);
}

}  // namespace
}  // namespace tarvesh::engine::testing
