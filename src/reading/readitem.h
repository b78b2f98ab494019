#pragma once

#include <QRect>
#include <QString>

namespace tarvesh::reading {

enum class ItemKind { kNote, kRest, kPercussion, kDash, kDot, kBar, kParen, kChord, kUnknown };
enum class BarKind { kNone, kSingle, kDouble, kFinal, kRepeatStart, kRepeatEnd };
enum class Accidental { kNone, kSharp, kFlat, kNatural };

// One thing read on a line of the page. Glyphs have the box of the cell they were stamped in
// (12 or 6 wide, 40 high, at the line's top); chord symbols and ink nothing could name have the
// box of their ink.
struct ReadItem {
  ItemKind kind = ItemKind::kUnknown;
  QRect box;
  // 1-7 for notes; for percussion the syllable, 0-4 for 冬 X 仓 次 板.
  int degree = 0;
  // Octave dots: negative below the digit, positive above.
  int octave = 0;
  // The note value the underlines give (4, 8, 16, 32) for notes, rests and percussion; 0 else.
  int duration = 0;
  // A note's accidental with the cell it was stamped in. An accidental that no note follows is
  // read as unknown ink that keeps the sign.
  Accidental accidental = Accidental::kNone;
  QRect accidentalBox;
  BarKind bar = BarKind::kNone;
  // Chord symbols: degree, "+"/"-", figures and MIN/MAX as drawn; parentheses: "(" or ")".
  QString text;
  // The first and the last item an arc over the line spans.
  bool slurStart = false;
  bool slurEnd = false;

  bool operator==(const ReadItem&) const = default;
};

}  // namespace tarvesh::reading
