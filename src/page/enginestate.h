#pragma once

#include <array>
#include <cstdint>

namespace tarvesh::page {

// PrevDurationRow when no note spacing is owed.
inline constexpr int kNoSpacingOwed = 5;
// LastGlyphWidth values.
inline constexpr int kLastWide = 0;
inline constexpr int kLastNarrow = 1;
inline constexpr int kLastUnknown = 2;

// What the glyph engine remembers between two key presses. The names are those the program
// uses everywhere; start values are the start-up values.
struct EngineState {
  int NoteMode = 1;           // 1 note entry, 0 chord-symbol entry
  int InsertMode = 1;         // 1 insert, 0 overwrite
  int HalfWidthMode = 0;      // 0 full width, 1 half width
  int LastGlyphWidth = 0;     // 0 last glyph 12 wide, 1 it was 6 wide, 2 none to measure
  int PrevDurationRow = 5;    // duration row of the note just placed; 5: no note spacing owed
  int BeamJoinWidth = 0;      // width of the dot or accidental just placed, 0 when none
  int LastDurationRow = 0;    // row of the last note, raised by each augmentation dot
  std::int32_t BarUnits = 0;  // time since the last bar line, in thirty-second notes
  int BarsInLine = 0;
  int BeatsPerBar = 4;
  int BeatUnit = 4;
  std::array<float, 10> NoteSpacing{0.5f, 0.5f, 0.0f, 0.0f, 0.5f, 0, 0, 0, 0, 0};
  int GlyphBand = 0;
  std::array<int, 10> BandTop{0, 26, 3, 0, 0, 0, 0, 0, 0, 0};
  std::array<int, 10> BandHeight{40, 5, 22, 0, 0, 0, 0, 0, 0, 0};
  int JustifyTop = 0;
  int ChordAtCursor = 0;
  std::array<int, 10> KeypadHeld{};
  int CurrentDurationRow = 0;  // the duration row entries use (chosen with the duration buttons)

  // Forgets the glyph just placed, once the cursor has gone somewhere new: no note spacing owed,
  // no dot or accidental to join, no width to erase by.
  void ForgetLastPlaced() {
    PrevDurationRow = kNoSpacingOwed;
    BeamJoinWidth = 0;
    LastGlyphWidth = kLastUnknown;
  }

  bool operator==(const EngineState&) const = default;
};

}  // namespace tarvesh::page
