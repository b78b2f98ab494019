#pragma once

#include <span>

// Hand-set bitmaps of the atlas glyphs: each row is a string where '#' marks ink. Their sizes
// are the cell geometry's: digits 8 x 14, accidentals 13 high, parentheses 14 high.
namespace tarvesh::artwork {

using Glyph = std::span<const char* const>;

Glyph DigitGlyph(int digit);      // 0-9, 8 x 14
Glyph CrossGlyph();               // the percussion syllable X, 8 x 14
Glyph SyllableGlyph(int index);   // 冬, 仓, 次, 板: 12 x 14
Glyph SharpGlyph();               // 7 x 13
Glyph NarrowSharpGlyph();         // 5 x 13
Glyph FlatGlyph();                // 5 x 13
Glyph NaturalGlyph();             // 5 x 13
Glyph WideOpenParenGlyph();       // 5 x 14
Glyph WideCloseParenGlyph();      // 6 x 14
Glyph NarrowOpenParenGlyph();     // 4 x 14
Glyph NarrowCloseParenGlyph();    // 4 x 14
Glyph QuestionGlyph();            // 7 x 11
Glyph TinyDigitGlyph(int digit);  // 3 x 5, for the atlas ruler

}  // namespace tarvesh::artwork
