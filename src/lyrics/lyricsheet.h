#pragma once

#include <QString>
#include <vector>

#include "lyrics/lyricline.h"

namespace tarvesh::lyrics {

// The words of a score: the lines that have words under them, top to bottom, and the font they
// are drawn in. Every line keeps the items it had when its words were last placed or followed,
// so the words can follow their notes when the line changes, and be drawn where the notes are
// without reading the page.
class LyricSheet {
 public:
  // A fresh sheet draws in the page font at this size.
  static constexpr double kStartPoints = 14;
  static constexpr double kLeastPoints = 6;
  static constexpr double kMostPoints = 72;

  LyricSheet();

  const std::vector<LyricLine>& Lines() const { return lines_; }
  // The line at `top`; null when it has no words.
  const LyricLine* LineAt(int top) const;
  bool IsEmpty() const { return lines_.empty(); }
  // The rows the fullest line uses.
  int RowsUsed() const;

  // Puts `text` under item `item` of the line at `top` in row `row` (0 to kVerseRows - 1),
  // replacing what was there; empty text takes it away. `items` are the line's items now.
  // Refuses (false) a row or item out of range.
  bool SetSyllable(int top, const std::vector<NoteItem>& items, int row, int item,
                   const QString& text);
  // Replaces row `row` of the line at `top` whole, for those who carry words in from elsewhere
  // (an imported score). Refuses (false) a row out of range and syllables that are empty, not
  // rising by item or under an item the line lacks.
  bool SetVerse(int top, const std::vector<NoteItem>& items, int row, VerseRow verse);
  // The verse number standing left of a row; empty takes it away.
  bool SetNumber(int top, const std::vector<NoteItem>& items, int row, const QString& number);
  // Every line's words gone, the font kept.
  void ClearWords() { lines_.clear(); }

  // The line at `top` now has `items`: its words move with their notes (FollowItems), and a
  // syllable whose note is gone, or is no note any more, goes with it. False when nothing
  // changed.
  bool Follow(int top, const std::vector<NoteItem>& items, int editLeft);

  const QString& FontFamily() const { return fontFamily_; }
  double FontPoints() const { return fontPoints_; }
  // Refuses (false) an empty family and a size outside kLeastPoints..kMostPoints.
  bool SetFont(const QString& family, double points);

  // Lines put in as they are, for reading them back from a file: sorted by their top, those
  // without words left out.
  void SetLines(std::vector<LyricLine> lines);

  bool operator==(const LyricSheet&) const = default;

 private:
  // The line at `top`, made with `items` when there is none.
  LyricLine& LineFor(int top, const std::vector<NoteItem>& items);
  void DropIfEmpty(int top);

  std::vector<LyricLine> lines_;
  QString fontFamily_;
  double fontPoints_ = kStartPoints;
};

}  // namespace tarvesh::lyrics
