#pragma once

#include <QString>
#include <array>
#include <vector>

#include "lyrics/noteitem.h"

namespace tarvesh::lyrics {

// A line has up to four rows of words under it, one for each verse.
inline constexpr int kVerseRows = 4;

// A syllable under the item `item` of its line (the index among the line's items as read).
// Text ending in "-" continues on the next syllable of its row.
struct Syllable {
  int item = 0;
  QString text;
  bool operator==(const Syllable&) const = default;
};

// One verse's words under one line: the verse number ("1.") standing left of it, and the
// syllables left to right.
struct VerseRow {
  QString number;
  std::vector<Syllable> syllables;

  bool IsEmpty() const { return number.isEmpty() && syllables.empty(); }
  bool operator==(const VerseRow&) const = default;
};

// The words under the line whose cells start at `top`, with the line's items as they stood when
// the words were last placed under them.
struct LyricLine {
  int top = 0;
  std::vector<NoteItem> items;
  std::array<VerseRow, kVerseRows> rows;

  bool IsEmpty() const;
  // Rows down to the last one with words: 0 to kVerseRows.
  int RowsUsed() const;
  bool operator==(const LyricLine&) const = default;
};

}  // namespace tarvesh::lyrics
