#pragma once

#include <QPointF>
#include <memory>
#include <optional>

#include "engine/enginehost.h"
#include "page/enginestate.h"
#include "page/glyphatlas.h"
#include "page/scorepage.h"
#include "reading/pagereader.h"

namespace tarvesh::engine {

// Glyph codes: 0-41 the note atlas columns, 100-199 wide signs, 200-299 narrow signs, 999 the
// erase of the cell before the cursor.
inline constexpr int kEraseCode = 999;
inline constexpr int kBarLineCode = 101;
inline constexpr int kNarrowBlankCode = 200;
inline constexpr int kRestCode = 35;
inline constexpr int kDashCode = 41;
inline constexpr int kWideBlankCode = 100;
inline constexpr int kAugmentationDotCode = 115;
inline constexpr int kSmallDotCode = 211;

// The one writer of music onto the page. Every operation works on the page, the atlases and the
// engine state it was given, and reaches the rest of the program through the host.
class GlyphEngine {
 public:
  GlyphEngine(page::ScorePage& page, const page::GlyphAtlas& atlas, page::EngineState& state,
              EngineHost& host);

  // Stamps glyph `code` (duration row `row` for codes 0-99) at the cursor and moves on; beat
  // gaps, automatic bar lines and line breaks happen inside. Re-entrant.
  void PlaceGlyph(int code, int row);
  // Glyph code of a virtual-key code; 0 or less means no glyph. Sets GlyphBand.
  int KeyToGlyphCode(int keyCode);
  // 2 for the narrow accidentals, 1 for the dots, 0 for everything else.
  static int ClassifyGlyphCode(int code);
  static void SwapIntegers(int& a, int& b);
  // Sends the cursor to the start of the next line when it has passed the right margin.
  void WrapCursorIfPastMargin();
  // Spreads the line at JustifyTop to the page width by inserting narrow blanks into its gaps.
  void JustifyLine();
  // The Enter handling: justify (when switched on), reset the line's state, cursor to the next
  // line, "5.wav".
  void EndLine();
  // Where the note that filled a bar ends (its right edge, at its line's top) while the cursor
  // stands right after the bar line placed by itself behind that note, even when that bar line
  // ended the line, and the bar line is still on the page; nothing otherwise. What is typed
  // there next follows the bar line, so a slur closed there belongs before it.
  std::optional<QPointF> NoteEndBeforeAutoBarLine() const;

 private:
  // Backspace: erases the whole item before the cursor, or at a line start the cell before it.
  void Erase();
  // Erases the item before the cursor with the white and the duration lines it brought, puts
  // the cursor where the key that typed it found it, and takes its time back from the bar. False
  // when the line holds no item left of the cursor.
  bool EraseItem();
  // Blanks the cell before the cursor, stepping back to the line above at a line start.
  void EraseCell();
  // Overwrite mode: blanks every whole item that the columns left .. right - 1 of the cursor's
  // line reach, so no glyph is ever stamped over part of another.
  void ClearItemsUnder(int left, int right);
  reading::ReadLine CursorLine() const;
  // The line a line spacing above the one at `top`; empty above the first line.
  reading::ReadLine LineAbove(int top) const;
  const reading::PageReader& Reader() const;
  void PlaceNote(int code, int row);
  void PlaceWideSign(int code);
  void PlaceNarrowSign(int code);
  // Narrow blanks before a note that starts a new beat.
  void PlaceBeatGap();
  // Adds the note's time to the bar and, with automatic bar lines on, closes a full bar with a
  // bar line.
  void CountNote(int row);
  // After any bar-line sign: a new bar, and a new line when the line holds its bars.
  void CountBarLine();
  // Insert mode: pushes the line right of `left` on by `distance` and clears what reaches the
  // last 20 pixels of the line.
  void ShiftLineRight(int left, int top, int distance);
  // Copies band GlyphBand of the sign atlas cell at (cellX, cellY), `width` wide, to the cursor.
  void CopySignBand(int cellX, int cellY, int width);
  // Adds the time of a note of duration row `row` to BarUnits.
  void AddUnits(int row);
  // The width lines run to: the page's, and kJustifyWidening more while a line is justified.
  int LineWidth() const;

  // The bar line placed last by CountNote, in page pixels, kept up to date by the justification
  // of its line.
  struct AutoBarLine {
    int top = 0;
    int noteEnd = 0;
    int barLeft = 0;
    QPointF cursorAfter;
  };

  page::ScorePage& page_;
  const page::GlyphAtlas& atlas_;
  page::EngineState& state_;
  EngineHost& host_;
  std::optional<AutoBarLine> autoBarLine_;
  int widening_ = 0;
  // Made on the first read of the page.
  mutable std::unique_ptr<reading::PageReader> reader_;
};

}  // namespace tarvesh::engine
