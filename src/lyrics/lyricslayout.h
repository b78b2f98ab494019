#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <optional>
#include <vector>

#include "lyrics/lyricsheet.h"

class QPainter;

namespace tarvesh::lyrics {

// Where the words of a sheet stand on the page. Each row of words lies under its line, the
// first kRowsBelow pixels under the line's cells and each next one a row height lower. A
// syllable is centred under its note; a "-" that carries a word on stands midway to the next
// syllable of its row; a verse number ends kNumberGap pixels left of its row's first syllable,
// or starts kNumberInset pixels inside the page when there is no room for that. The last
// syllable of a word sung over several notes (a melisma) draws an extender line at its baseline
// on to the last of them; a Hanzi does not.
class LyricsLayout {
 public:
  static constexpr int kRowsBelow = 2;
  static constexpr int kRowGap = 2;
  static constexpr int kNumberGap = 2;
  static constexpr int kNumberInset = 1;

  explicit LyricsLayout(const LyricSheet& sheet);

  // The sheet's font, sized in pixels as the page font is, drawn without smoothing.
  const QFont& Font() const { return font_; }
  int RowHeight() const { return rowHeight_; }
  int RowTop(int lineTop, int row) const;
  // The line spacing that holds `rows` rows under a line above the next one.
  int SpacingFor(int rows) const;
  // The least room between two syllables of a row: a quarter of the font's size; between a
  // syllable whose word goes on and the next, room for the hyphen with that on both sides.
  int SyllableGap() const { return gap_; }
  int HyphenRoom() const { return 2 * gap_ + hyphenWidth_; }

  enum class Kind { kSyllable, kHyphen, kNumber, kExtender };
  struct Placed {
    Kind kind;
    int lineTop;
    int row;
    int item;      // the syllable's note; -1 for a verse number
    QString text;  // empty for an extender, whose box is its line
    QRect box;
  };
  std::vector<Placed> Place() const;
  // Draws every word in black.
  void Draw(QPainter& painter) const;
  // The box a syllable of one character would take under `item`.
  QRect SlotBox(const NoteItem& item, int lineTop, int row) const;

 private:
  QRect Centred(double centre, int top, const QString& text) const;
  // The extender line after `syllable`, the last of its word, when it is sung on more notes up
  // to the next syllable's start; it ends before the next syllable of its row at `nextLeft`.
  std::optional<Placed> Extender(const LyricLine& line, const std::vector<int>& starts,
                                 const Placed& syllable, int nextLeft) const;

  const LyricSheet& sheet_;
  QFont font_;
  int rowHeight_ = 0;
  int ascent_ = 0;
  int gap_ = 0;
  int hyphenWidth_ = 0;
};

}  // namespace tarvesh::lyrics
